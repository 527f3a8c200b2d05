// The progress window created from the real template 131: its caption and both bars after the
// callers' steps, and repaints paced by the display frame while every step is counted.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/ProgressDlg.h"
#include "res/resource.h"

namespace {

// A progress window whose frame clock the test moves.
class PacedProgressDlg : public CProgressDlg {
public:
    uint64_t now = 1000;

protected:
    uint64_t FrameClockMs() const override { return now; }
};

class ProgressWindow : public ::testing::Test {
protected:
    PacedProgressDlg dlg;

    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create(IDD_PROGRESS));
        dlg.ShowWindow(SW_SHOW);
        dlg.ResetProgress();
    }

    std::string Caption() const
    {
        CString text;
        dlg.GetWindowText(text);
        return static_cast<const char*>(text);
    }

    // What the controls show, not what the object counted.
    int MainBar() const { return dlg.m_barMain.GetPos(); }
    int TickBar() const { return dlg.m_barTick.GetPos(); }
};

// The aggregation's and the report's plan: 1007 steps against a range of 1000.
TEST_F(ProgressWindow, CallersWholePlanEndsFullAtOneHundredPerCent)
{
    dlg.Advance(0, 100);
    dlg.Advance(100, 300);
    dlg.Advance(300, 400);
    for (int row = 0; row < 50; ++row) dlg.Tick();
    dlg.Advance(400, 500);
    EXPECT_EQ(Caption(), "集計中 50％");
    EXPECT_EQ(MainBar(), 504) << "every value of a range is a step, also where two ranges meet";
    dlg.Advance(500, 600);
    dlg.Advance(600, 700);
    dlg.Advance(700, 1000);

    EXPECT_EQ(Caption(), "集計中 100％");
    EXPECT_EQ(MainBar(), 1000);
    EXPECT_EQ(dlg.MainSteps(), 1007);
    EXPECT_EQ(TickBar(), 5) << "a sweep ends with the thin bar full";
    EXPECT_EQ(dlg.TickSteps(), 6 * (1007 + 50));
    PBRANGE range{};
    SendMessageW(dlg.m_barTick.GetSafeHwnd(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 5);
    SendMessageW(dlg.m_barMain.GetSafeHwnd(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iHigh, 1000);
}

TEST_F(ProgressWindow, ValueWhereTwoRangesMeetIsStepTwice)
{
    dlg.Advance(500, 600);
    dlg.Advance(600, 700);
    EXPECT_EQ(MainBar(), 202);
    EXPECT_EQ(Caption(), "集計中 70％");
}

TEST_F(ProgressWindow, FirstStepShowsZeroPerCent)
{
    dlg.Advance(0, 0);
    EXPECT_EQ(Caption(), "集計中 0％");
    EXPECT_EQ(MainBar(), 1);
    dlg.Advance(1, 9);
    EXPECT_EQ(Caption(), "集計中 0％") << "no tenth in between";
    EXPECT_EQ(MainBar(), 10);
}

TEST_F(ProgressWindow, BackwardRangeDoesNothing)
{
    dlg.Advance(0, 10);
    const long repaints = dlg.Repaints();
    dlg.Advance(300, 200);
    EXPECT_EQ(Caption(), "集計中 1％");
    EXPECT_EQ(MainBar(), 11);
    EXPECT_EQ(dlg.MainSteps(), 11);
    EXPECT_EQ(dlg.Repaints(), repaints);
}

// However fast the steps come, the window repaints at most once a frame, plus at every
// caption change and at the end of every Advance.
TEST_F(ProgressWindow, RepaintsArePacedByTheFrameWhileEveryStepIsCounted)
{
    dlg.Advance(0, 0);
    const long before = dlg.Repaints();
    for (int tick = 0; tick < 20000; ++tick) dlg.Tick();
    EXPECT_EQ(dlg.Repaints(), before) << "a clock that stands still: no frame is due";
    EXPECT_EQ(dlg.TickSteps(), 6 * 20001);

    for (int tick = 0; tick < 1600; ++tick) {
        dlg.now += 1;
        dlg.Tick();
    }
    const long paced = dlg.Repaints() - before;
    EXPECT_GE(paced, 1600 / 16 - 1);
    EXPECT_LE(paced, 1600 / 16 + 1);

    const long beforeAdvance = dlg.Repaints();
    dlg.Advance(1, 1000);
    EXPECT_LE(dlg.Repaints() - beforeAdvance, 100 + 1) << "the tenths and the end";
    EXPECT_EQ(MainBar(), 1000);
}

// The controls lag behind between frames, and catch up before the window goes.
TEST_F(ProgressWindow, DismissShowsTheLastStepsThenHidesTheWindow)
{
    dlg.Advance(0, 5);
    EXPECT_EQ(MainBar(), 6);
    dlg.m_barTick.SetPos(0);
    dlg.Tick();
    EXPECT_EQ(TickBar(), 0) << "within the frame the thin bar is not sent";
    dlg.Dismiss();
    EXPECT_EQ(TickBar(), 5);
    EXPECT_FALSE(IsWindowVisible(dlg.GetSafeHwnd()));
}

}  // namespace
