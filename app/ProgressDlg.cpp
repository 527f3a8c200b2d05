#include "app/ProgressDlg.h"

#include <algorithm>
#include <cstdio>
#include <windows.h>

#include "framework/DataExchange.h"
#include "framework/MessageQueue.h"
#include "res/resource.h"

namespace {

const short kMainRange = 1000;
const short kTickRange = 5;
const int kTickStepsPerSweep = 6;   // the thin bar's positions, empty to full

bool IsTopmost(HWND window)
{
    return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

DWORD ProcessOf(HWND window)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    return process;
}

// The foreground is the user's: the window takes it back only from this program or from the
// host (the program whose window it is part of, or which owns it), never from a program the
// user has switched to.
bool MayTakeForeground(HWND window)
{
    const HWND foreground = ::GetForegroundWindow();
    if (foreground == nullptr) return false;
    const DWORD holder = ProcessOf(foreground);
    return holder == ::GetCurrentProcessId() || holder == ProcessOf(::GetAncestor(window, GA_ROOTOWNER));
}

}  // namespace

CProgressDlg::CProgressDlg(CWnd* parent) : CDialog(IDD_PROGRESS, parent) {}

void CProgressDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_MAIN, m_barMain);
    DDX_Control(pDX, IDC_PROGRESS_TICK, m_barTick);
}

// The system's tick count moves in steps of about a display frame, which is all the pacing
// needs, and reading it costs a few nanoseconds: the performance counter costs a system call
// (0.13 us under Wine), more than the rest of a row's tick.
uint64_t CProgressDlg::FrameClockMs() const
{
    return ::GetTickCount64();
}

// The visual-styles bar moves to a new position through animation timers that this thread,
// which dispatches nothing during the run, would never run: it would lag far behind the
// caption. The classic bar the template describes draws its position when asked.
BOOL CProgressDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    DrawClassic(m_barMain);
    DrawClassic(m_barTick);
    return result;
}

// Empty names take the theme away; a theme library that refuses them (Wine's) is given a
// class list that names no class of any theme, which does the same.
void CProgressDlg::DrawClassic(CProgressCtrl& bar)
{
    if (FAILED(bar.SetWindowTheme(L"", L""))) bar.SetWindowTheme(L" ", L" ");
}

void CProgressDlg::ResetProgress()
{
    m_nMainLow = 0;
    m_nMainHigh = kMainRange;
    m_nMainPos = 0;
    m_barMain.SetRange(0, kMainRange);
    m_barMain.SetStep(1);
    m_barMain.SetPos(0);
    m_sent.mainPos = 0;
}

// The values run through an int, so that a `to` of 32767 ends the loop. Within the loop others
// can ask the window something only when a repaint is due (the queue is looked at then), so
// the controls are sent the state once, at the end, or when a repaint is due.
void CProgressDlg::Advance(short from, short to)
{
    if (to < from) return;
    for (int value = from; value <= to; ++value) {
        if (value % 10 == 0) ShowPercent(value);
        StepMain();
        Sweep();
        RepaintIfDue();
    }
    SendState(ThinBar::asDrawn);
}

void CProgressDlg::Tick()
{
    Sweep();
    SendState(ThinBar::asDrawn);
    RepaintIfDue();
}

void CProgressDlg::Dismiss()
{
    Repaint();
    EndDialog(1);
}

// The box appears over the window brought to the front; what the user typed or clicked during
// the run is not taken as an answer, and a WM_QUIT does not end the box before it is read.
int CProgressDlg::MessageBox(const char* text, const char* caption, UINT type)
{
    if (::IsWindowVisible(GetSafeHwnd())) {
        Repaint();
        if (!IsInFront()) Raise();
    }
    const QueueReadyForBox queueReady;
    return CDialog::MessageBox(text, caption, type);
}

// A bar does not move beyond its range, however many steps it is given.
void CProgressDlg::StepMain()
{
    m_nMainPos = std::clamp(m_nMainPos + 1, m_nMainLow, m_nMainHigh);
    ++m_nMainSteps;
}

// A sweep is six steps over a range of five. The thin bar stands where the sweeps have got to,
// empty to full and round again, so that the frames drawn one after another show it moving.
void CProgressDlg::Sweep()
{
    m_nTickSteps += kTickStepsPerSweep;
    m_nTickPos = (m_nTickPos + 1) % kTickStepsPerSweep;
}

void CProgressDlg::ShowPercent(int value)
{
    std::snprintf(m_szCaption, sizeof m_szCaption, "集計中 %d％", value / 10);
    ++m_nCaptions;
}

// The controls are sent what changed with the window's redraw flag off (WM_SETREDRAW): they
// take the new state and answer for it but draw nothing, which makes a new position or caption
// cost a hundredth of drawing it. Only a visible window's flag is turned off, since turning it
// on again shows a hidden one. The thin bar moves at every step and tells nothing but that the
// work goes on: between frames it keeps the position it was last drawn at, which spares every
// step the cost of sending.
void CProgressDlg::SendState(ThinBar thinBar)
{
    Shown target = Current();
    if (thinBar == ThinBar::asDrawn) target.tickPos = m_sent.tickPos;
    if (GetSafeHwnd() == nullptr || m_sent == target) return;
    const bool hold = ::IsWindowVisible(GetSafeHwnd()) != FALSE;
    if (hold) SendMessage(WM_SETREDRAW, FALSE);
    if (m_sent.captions != target.captions) SetWindowText(m_szCaption);
    if (m_sent.mainPos != target.mainPos) m_barMain.SetPos(target.mainPos);
    if (m_sent.tickPos != target.tickPos) {
        if (!m_bTickRangeSent) {
            m_barTick.SetRange(0, kTickRange);
            m_barTick.SetStep(1);
            m_bTickRangeSent = true;
        }
        m_barTick.SetPos(target.tickPos);
    }
    m_sent = target;
    if (hold) SendMessage(WM_SETREDRAW, TRUE);
}

void CProgressDlg::RepaintIfDue()
{
    if (m_nRepaints != 0 && FrameClockMs() - m_nLastRepaintMs < kFrameMs) return;
    SendState(ThinBar::toNow);   // whoever asks while the queue is looked at hears the exact state
    AnswerSentMessages();
    Repaint();
}

// In front: it is the foreground window, or its top-level window (the host window it is a
// child of) is, and no window that can be seen is above it. A window not shown covers nothing,
// and a topmost window stays above one that is not, whatever is done.
bool CProgressDlg::IsInFront() const
{
    const HWND window = GetSafeHwnd();
    const HWND foreground = ::GetForegroundWindow();
    if (foreground != window && foreground != ::GetAncestor(window, GA_ROOT)) return false;
    const bool topmost = IsTopmost(window);
    for (HWND above = ::GetWindow(window, GW_HWNDPREV); above != nullptr; above = ::GetWindow(above, GW_HWNDPREV)) {
        if (::IsWindowVisible(above) && (topmost || !IsTopmost(above))) return false;
    }
    return true;
}

// Brought to the front, with the foreground: when the window is shown and before a message
// box over it. (Windows may refuse the foreground and flash the taskbar button instead.)
void CProgressDlg::Raise()
{
    BringWindowToTop();
    SetForegroundWindow();
}

// Raised when first drawn; after that only while the user works with this program or the
// host: a user who switched to another program during a long run keeps it. Raising costs a
// third of a repaint, so it is done only when something is above the window.
void CProgressDlg::KeepInFront()
{
    if (m_nRepaints == 0 || (MayTakeForeground(GetSafeHwnd()) && !IsInFront())) Raise();
}

void CProgressDlg::Repaint()
{
    if (GetSafeHwnd() == nullptr) return;
    SendState(ThinBar::toNow);
    KeepInFront();
    DrawChanges();
    ++m_nRepaints;
    m_nLastRepaintMs = FrameClockMs();
}

// The first repaint draws the whole window, which nothing has drawn since it was shown; later
// ones what changed since the last. Setting the caption while drawing is allowed draws it.
// The host may have destroyed its window, and this one with it, while the raise waited for its
// thread: the window and its bars then have no handle, and the framework draws nothing.
void CProgressDlg::DrawChanges()
{
    if (m_nRepaints == 0) {
        RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    } else {
        if (m_drawn.captions != m_nCaptions) SetWindowText(m_szCaption);
        if (m_drawn.mainPos != m_nMainPos) m_barMain.Invalidate();
        if (m_drawn.tickPos != m_nTickPos) m_barTick.Invalidate();
        UpdateWindow();
    }
    m_drawn = Current();
}
