// The progress window created from the real template 131: its caption and both bars after the
// callers' steps, repaints paced by the display frame while every step is counted (what the
// window drew is read back from its bars' pixels), the messages other threads send it answered
// during a step, and where it goes over a host window.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/ProgressDlg.h"
#include "app/ProgressPlacement.h"
#include "framework/TestSeams.h"
#include "res/resource.h"

namespace {

// The share of a bar drawn filled, read from the pixels of its middle row.
double DrawnFill(HWND bar)
{
    RECT inside{};
    GetClientRect(bar, &inside);
    HDC dc = GetDC(bar);
    const COLORREF fill = GetSysColor(COLOR_HIGHLIGHT);
    int filled = 0;
    for (int x = 1; x < inside.right - 1; ++x) filled += GetPixel(dc, x, inside.bottom / 2) == fill ? 1 : 0;
    ReleaseDC(bar, dc);
    return static_cast<double>(filled) / std::max(1L, inside.right - 2);
}

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

    double DrawnMainFill() const { return DrawnFill(dlg.m_barMain.GetSafeHwnd()); }
    double DrawnTickFill() const { return DrawnFill(dlg.m_barTick.GetSafeHwnd()); }
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
    EXPECT_EQ(dlg.TickPosition(), (1007 + 50) % 6) << "the thin bar stands where the sweeps got to";
    EXPECT_EQ(TickBar(), 1) << "and is shown where the only frame drew it";
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

// A long run counts beyond 32 bits: six thin-bar steps a row pass 2^31 after 358 million rows.
TEST_F(ProgressWindow, CountsGoOnBeyondThirtyTwoBits)
{
    const int64_t ticks = 360'000'000;
    for (int64_t tick = 0; tick < ticks; ++tick) dlg.Tick();
    EXPECT_EQ(dlg.TickSteps(), 6 * ticks);
    EXPECT_EQ(dlg.TickPosition(), ticks % 6);
}

// Between repaints the caption and the main bar already hold every step, while the drawing lags;
// a message box over the window finds its last state drawn, however the box is reached, and
// none of the keys and clicks given before it: Enter would press its button. A WM_QUIT waits
// until the box has gone.
TEST_F(ProgressWindow, ControlsHoldEveryStepAndAMessageBoxFindsItDrawn)
{
    dlg.Advance(0, 0);
    const long drawn = dlg.Repaints();
    for (short value = 1; value <= 499; ++value) {
        dlg.Advance(value, value);
        ASSERT_EQ(MainBar(), value + 1);
        ASSERT_EQ(Caption(), "集計中 " + std::to_string(value / 10) + "％");
    }
    EXPECT_EQ(TickBar(), 1) << "the thin bar stands where it was drawn, at the first step";
    EXPECT_EQ(dlg.Repaints(), drawn);
    EXPECT_LT(DrawnMainFill(), 0.01) << "the frame has not passed: still drawn at the first step";

    const HWND hwnd = dlg.GetSafeHwnd();
    PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    PostMessageW(hwnd, WM_APP, 0, 0);
    PostQuitMessage(3);
    double fillUnderTheBox = -1;
    SetMessageBoxResponder([&](const MessageBoxCall& call) {
        EXPECT_EQ(call.owner, dlg.GetSafeHwnd());
        fillUnderTheBox = DrawnMainFill();
        MSG left{};
        EXPECT_FALSE(PeekMessageW(&left, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "a quit would end the box";
        EXPECT_FALSE(PeekMessageW(&left, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE)) << "a key is left";
        EXPECT_FALSE(PeekMessageW(&left, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) << "a click is left";
        EXPECT_FALSE(PeekMessageW(&left, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_NOREMOVE))
            << "a click on the frame is left";
        EXPECT_TRUE(PeekMessageW(&left, hwnd, WM_APP, WM_APP, PM_REMOVE)) << "what is not input stays";
        return IDOK;
    });
    CWnd& window = dlg;
    window.MessageBox("集計できませんでした。", "科目内訳書", MB_ICONEXCLAMATION | MB_OK);
    SetMessageBoxResponder({});
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is lost to later loops";
    EXPECT_EQ(quit.wParam, 3u);
    EXPECT_NEAR(fillUnderTheBox, 0.5, 0.01);
    EXPECT_EQ(dlg.Repaints(), drawn + 1);
}

// What the main bar shows on screen at the moment the window starts to hide: a hidden
// window's pixels cannot be read.
LRESULT CALLBACK ReadFillWhenHidden(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR data)
{
    if (message == WM_SHOWWINDOW && wParam == FALSE) {
        *reinterpret_cast<double*>(data) = DrawnFill(GetDlgItem(window, IDC_PROGRESS_MAIN));
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// The drawing lags behind between frames, and catches up before the window goes.
TEST_F(ProgressWindow, DismissDrawsTheLastStepsThenHidesTheWindow)
{
    dlg.Advance(0, 5);
    dlg.Advance(6, 250);
    dlg.Tick();
    EXPECT_EQ(MainBar(), 251);
    const long drawn = dlg.Repaints();
    EXPECT_LT(DrawnMainFill(), 0.01);
    double fillWhenHidden = -1;
    ASSERT_TRUE(SetWindowSubclass(dlg.GetSafeHwnd(), ReadFillWhenHidden, 1,
                                  reinterpret_cast<DWORD_PTR>(&fillWhenHidden)));
    dlg.Dismiss();
    RemoveWindowSubclass(dlg.GetSafeHwnd(), ReadFillWhenHidden, 1);
    EXPECT_EQ(dlg.Repaints(), drawn + 1);
    EXPECT_NEAR(fillWhenHidden, 0.25, 0.01) << "drawn before it was hidden";
    EXPECT_FALSE(IsWindowVisible(dlg.GetSafeHwnd()));
}

// Both bars are the classic ones the template describes, which draw a new position when asked:
// the themed bar would move there through timers that the run's thread never runs. At every
// frame the thin bar shows where the sweeps stand, so that one frame differs from the next.
TEST_F(ProgressWindow, BarsDrawTheirPositionsAtEveryFrame)
{
    EXPECT_EQ(GetWindowTheme(dlg.m_barMain.GetSafeHwnd()), nullptr) << "the main bar is themed";
    EXPECT_EQ(GetWindowTheme(dlg.m_barTick.GetSafeHwnd()), nullptr) << "the thin bar is themed";

    dlg.Tick();
    double drawn[6] = {};
    for (int frame = 0; frame < 6; ++frame) {
        dlg.now += CProgressDlg::kFrameMs;
        dlg.Tick();
        drawn[TickBar()] = DrawnTickFill();
    }
    EXPECT_LT(drawn[0], 0.01) << "the sweep starts again empty";
    for (int position = 1; position < 6; ++position) {
        EXPECT_GT(drawn[position], drawn[position - 1]) << "at position " << position;
    }
    EXPECT_GT(drawn[5], 0.75) << "a sweep ends full (blocks with gaps between them)";
}

// While the callers step, messages that other threads send the window (the host asking
// whether it answers, the system telling of a changed setting) are answered within a frame,
// and none of them disturbs the state or the window.
TEST_F(ProgressWindow, AnswersMessagesSentDuringTheSteps)
{
    const HWND window = dlg.GetSafeHwnd();
    RECT frame{};
    GetWindowRect(window, &frame);
    wchar_t text[64] = {};
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } sent[] = {{WM_NULL, 0, 0},           {WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text)},
                {WM_SETTINGCHANGE, 0, 0},  {WM_THEMECHANGED, 0, 0},
                {WM_SYSCOLORCHANGE, 0, 0}, {WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&frame)},
                {WM_CLOSE, 0, 0}};
    std::atomic<bool> done{false};
    int answered = 0;
    std::thread other([&] {
        DWORD_PTR result = 0;
        for (const auto& m : sent) {
            answered += SendMessageTimeoutW(window, m.message, m.wParam, m.lParam, SMTO_NORMAL, 500, &result) ? 1 : 0;
        }
        done = true;
    });
    dlg.msPerReading = 1;
    for (short value = 0; !done && value < 1000; ++value) {
        dlg.Advance(value, value);
        Sleep(1);
    }
    other.join();
    EXPECT_EQ(answered, 7) << "every message is answered";
    EXPECT_EQ(std::wstring(text).rfind(L"\u96c6\u8a08\u4e2d ", 0), 0u) << "the caption as it stood";

    dlg.Advance(0, 99);
    EXPECT_EQ(MainBar(), std::min<int64_t>(dlg.MainSteps(), 1000));
    EXPECT_EQ(Caption(), "集計中 9％");
    // The close request came back as a posted IDCANCEL, which the loop of the next message box
    // would hand the window, as it would another program's IDOK: only the run ends the window.
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    MSG posted{};
    while (PeekMessageW(&posted, window, 0, 0, PM_REMOVE)) DispatchMessageW(&posted);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetWindowTheme(dlg.m_barMain.GetSafeHwnd()), nullptr) << "a changed theme does not theme the bar";
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
        wnd_ = CWnd(hwnd_);
    }
    ~HostWindowForTest() { DestroyWindow(hwnd_); }
    HostWindowForTest(const HostWindowForTest&) = delete;
    HostWindowForTest& operator=(const HostWindowForTest&) = delete;

    HWND Handle() const { return hwnd_; }
    CWnd* Wnd() { return &wnd_; }

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
    CWnd wnd_;
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
        EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY)
            << "its going would be told to the host's thread, and wait for it";
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

// Destroys the host window, the progress window with it, when the window is raised: the host's
// thread may, while the raise waits for it to answer an activation.
LRESULT CALLBACK DestroyHostWhenRaised(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR host)
{
    if (message != WM_WINDOWPOSCHANGED || (reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_NOZORDER))
        return DefSubclassProc(window, message, wParam, lParam);
    DestroyWindow(reinterpret_cast<HWND>(host));
    return 0;
}

LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR count)
{
    if (message == WM_PAINT || message == WM_NCPAINT || message == WM_ERASEBKGND) ++*reinterpret_cast<int*>(count);
    return DefSubclassProc(window, message, wParam, lParam);
}

// What follows draws nothing: Windows takes a null window as the whole desktop.
TEST(ProgressWindowOverHost, GoneWhileRaisedDrawsNoOtherWindow)
{
    for (const bool drawnBefore : {false, true}) {
        SCOPED_TRACE(drawnBefore ? "a later frame" : "the first frame");
        int paintsElsewhere = 0;
        HostWindowForTest host(100, 80, 500, 300), elsewhere(650, 80, 200, 200);
        PacedProgressDlg dlg;
        ASSERT_TRUE(ShowProgressWindow(dlg, host.Wnd()));
        if (drawnBefore) dlg.Advance(0, 0);
        const HWND above = CreateWindowExW(0, L"STATIC", L"above", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, host.Handle(),
                                           nullptr, nullptr, nullptr);
        SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetForegroundWindow(host.Handle());
        SetWindowSubclass(elsewhere.Handle(), CountPaints, 1, reinterpret_cast<DWORD_PTR>(&paintsElsewhere));
        UpdateWindow(elsewhere.Handle());
        SetWindowSubclass(dlg.GetSafeHwnd(), DestroyHostWhenRaised, 1, reinterpret_cast<DWORD_PTR>(host.Handle()));
        paintsElsewhere = 0;

        dlg.now += CProgressDlg::kFrameMs;
        dlg.Advance(1, 1);
        ASSERT_EQ(dlg.GetSafeHwnd(), nullptr) << "gone while it was raised";
        EXPECT_EQ(paintsElsewhere, 0);
        EXPECT_FALSE(GetUpdateRect(elsewhere.Handle(), nullptr, FALSE));
    }
}

}  // namespace
