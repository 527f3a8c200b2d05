// The progress window created from the real template 131: its caption and both bars after the
// callers' steps, repaints paced by the display frame while every step is counted (what the
// window drew is read back from its bar's pixels), and where it goes over a host window.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/ProgressDlg.h"
#include "app/ProgressPlacement.h"
#include "framework/TestSeams.h"
#include "res/resource.h"

namespace {

// A progress window whose frame clock the test moves, by hand or by `msPerReading` at every
// reading.
class PacedProgressDlg : public CProgressDlg {
public:
    mutable uint64_t now = 1000;
    uint64_t msPerReading = 0;

protected:
    uint64_t FrameClockMs() const override
    {
        const uint64_t reading = now;
        now += msPerReading;
        return reading;
    }
};

class ProgressWindow : public ::testing::Test {
protected:
    PacedProgressDlg dlg;

    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create(IDD_PROGRESS));
        // In the screen's bottom-left corner, away from the centred windows of the tests that
        // run beside this one on the same desktop: its pixels are read back.
        RECT frame{};
        GetWindowRect(dlg.GetSafeHwnd(), &frame);
        SetWindowPos(dlg.GetSafeHwnd(), nullptr, 0, GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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

    // The share of the main bar drawn filled, read from the pixels of its middle row.
    double DrawnMainFill() const
    {
        const HWND bar = dlg.m_barMain.GetSafeHwnd();
        RECT inside{};
        GetClientRect(bar, &inside);
        HDC dc = GetDC(bar);
        const COLORREF fill = GetSysColor(COLOR_HIGHLIGHT);
        int filled = 0;
        for (int x = 1; x < inside.right - 1; ++x) filled += GetPixel(dc, x, inside.bottom / 2) == fill ? 1 : 0;
        ReleaseDC(bar, dc);
        return static_cast<double>(filled) / std::max(1L, inside.right - 2);
    }
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
    EXPECT_EQ(dlg.Repaints(), 1) << "a clock that stands still: the first step draws, neither a tenth nor an end";
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
    dlg.Advance(1, 500);
    EXPECT_EQ(dlg.Repaints(), beforeAdvance) << "neither the tenths nor the end draw";
    EXPECT_EQ(MainBar(), 501);
    EXPECT_EQ(Caption(), "集計中 50％");

    dlg.msPerReading = 1;   // a step takes a millisecond
    const long beforeTimed = dlg.Repaints();
    const uint64_t start = dlg.now;
    dlg.Advance(501, 1000);
    EXPECT_LE(dlg.Repaints() - beforeTimed, static_cast<long>((dlg.now - start) / CProgressDlg::kFrameMs) + 1)
        << "at most one repaint a frame, the tenths' captions included";
    EXPECT_EQ(MainBar(), 1000);
    EXPECT_EQ(Caption(), "集計中 100％");
}

// Between repaints the caption and both bars already hold every step, while the drawing lags;
// a message box over the window finds its last state drawn, however the box is reached.
TEST_F(ProgressWindow, ControlsHoldEveryStepAndAMessageBoxFindsItDrawn)
{
    dlg.Advance(0, 0);
    const long drawn = dlg.Repaints();
    for (short value = 1; value <= 499; ++value) {
        dlg.Advance(value, value);
        ASSERT_EQ(MainBar(), value + 1);
        ASSERT_EQ(Caption(), "集計中 " + std::to_string(value / 10) + "％");
        ASSERT_EQ(TickBar(), 5);
    }
    EXPECT_EQ(dlg.Repaints(), drawn);
    EXPECT_LT(DrawnMainFill(), 0.01) << "the frame has not passed: still drawn at the first step";

    double fillUnderTheBox = -1;
    SetMessageBoxResponder([&](const MessageBoxCall& call) {
        EXPECT_EQ(call.owner, dlg.GetSafeHwnd());
        fillUnderTheBox = DrawnMainFill();
        return IDOK;
    });
    CWnd& window = dlg;
    window.MessageBox("集計できませんでした。", "科目内訳書", MB_ICONEXCLAMATION | MB_OK);
    SetMessageBoxResponder({});
    EXPECT_NEAR(fillUnderTheBox, 0.5, 0.01);
    EXPECT_EQ(dlg.Repaints(), drawn + 1);
}

// The drawing lags behind between frames, and catches up before the window goes.
TEST_F(ProgressWindow, DismissDrawsTheLastStepsThenHidesTheWindow)
{
    dlg.Advance(0, 5);
    dlg.Advance(6, 250);
    dlg.Tick();
    EXPECT_EQ(MainBar(), 251);
    EXPECT_EQ(TickBar(), 5);
    const long drawn = dlg.Repaints();
    EXPECT_LT(DrawnMainFill(), 0.01);
    dlg.Dismiss();
    EXPECT_EQ(dlg.Repaints(), drawn + 1);
    EXPECT_NEAR(DrawnMainFill(), 0.25, 0.01) << "drawn before it was hidden";
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
