// The progress window created from the real template 131: its caption and both bars after the
// callers' steps, repaints paced by the display frame while every step is counted, and where
// it goes over a host window.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "app/ProgressDlg.h"
#include "app/ProgressPlacement.h"
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

// A host window as an older product makes it: not DPI aware, visible, of a given place and size.
class HostWindowForTest {
public:
    HostWindowForTest(int x, int y, int width, int height)
    {
        const DPI_AWARENESS_CONTEXT previous = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
        hwnd_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height,
                                nullptr, nullptr, nullptr, nullptr);
        SetThreadDpiAwarenessContext(previous);
    }
    ~HostWindowForTest() { DestroyWindow(hwnd_); }
    HostWindowForTest(const HostWindowForTest&) = delete;
    HostWindowForTest& operator=(const HostWindowForTest&) = delete;

    HWND Handle() const { return hwnd_; }
    CWnd* Wnd() const { return CWnd::FromHandle(hwnd_); }

    // What can be seen of the client area, in screen coordinates.
    RECT VisibleClient() const
    {
        RECT client{}, visible{};
        GetClientRect(hwnd_, &client);
        MapWindowPoints(hwnd_, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
        const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        IntersectRect(&visible, &client, &screen);
        return visible;
    }

private:
    HWND hwnd_ = nullptr;
};

struct HostPlacementCase {
    const char* name;
    int x, y, width, height;  // the host window on the screen
    bool parentingRefused;     // the window stays a top-level window owned by the host
};

// Along each side the window lies centred in what can be seen of the host's client area where
// it fits, else at that area's start; as a child it is above the host's other children, as an
// owned window above the host window.
TEST(ProgressWindowOverHost, LiesWhereTheUserSeesItAndInFront)
{
    const HostPlacementCase cases[] = {
        {"host smaller than the screen", 100, 80, 500, 300, false},
        {"host smaller than the window", 40, 40, 200, 90, false},
        {"host partly off the screen's left and top", -300, -100, 700, 400, false},
        {"parenting refused", 100, 80, 500, 300, true},
    };
    for (const HostPlacementCase& c : cases) {
        SCOPED_TRACE(c.name);
        HostWindowForTest host(c.x, c.y, c.width, c.height);
        CreateWindowExW(0, L"STATIC", L"another child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, host.Handle(),
                        nullptr, nullptr, nullptr);
        CProgressDlg dlg;
        if (c.parentingRefused) {
            ASSERT_TRUE(dlg.Create(IDD_PROGRESS, host.Wnd()));
            PlaceOverHost(dlg.GetSafeHwnd(), host.Handle());
            dlg.ShowWindow(SW_SHOW);
        } else {
            ASSERT_TRUE(ShowProgressWindow(dlg, host.Wnd()));
        }
        const HWND window = dlg.GetSafeHwnd();
        EXPECT_TRUE(IsWindowVisible(window));
        RECT rect{};
        GetWindowRect(window, &rect);
        const RECT area = host.VisibleClient();
        const LONG gaps[2][2] = {{rect.left - area.left, area.right - rect.right},
                                 {rect.top - area.top, area.bottom - rect.bottom}};
        for (const auto& gap : gaps) {
            if (gap[0] + gap[1] >= 0) {
                EXPECT_GE(gap[0], 0);
                EXPECT_LE(std::abs(gap[0] - gap[1]), 1) << "centred";
            } else {
                EXPECT_EQ(gap[0], 0) << "at the start";
            }
        }
        if (c.parentingRefused) {
            EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
            EXPECT_EQ(GetWindow(window, GW_OWNER), host.Handle());
            HWND below = window;
            while (below != nullptr && below != host.Handle()) below = GetWindow(below, GW_HWNDNEXT);
            EXPECT_EQ(below, host.Handle()) << "above the host window";
        } else {
            EXPECT_EQ(GetAncestor(window, GA_PARENT), host.Handle());
            EXPECT_EQ(GetWindow(window, GW_HWNDPREV), nullptr) << "above the host's other children";
        }
    }
}

}  // namespace
