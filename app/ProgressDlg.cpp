#include "app/ProgressDlg.h"

#include <algorithm>
#include <cstdio>
#include <windows.h>

#include "framework/DataExchange.h"
#include "res/resource.h"

namespace {

const short kMainRange = 1000;
const short kTickRange = 5;
const int kTickStepsPerSweep = 6;   // one more than the range: the sweep ends with the bar full

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

// The values run through an int, so that a `to` of 32767 ends the loop. Within the loop no
// one can ask the window anything (no message is dispatched), so the controls are sent the
// state once, at the end, or when a repaint is due.
void CProgressDlg::Advance(short from, short to)
{
    if (to < from) return;
    for (int value = from; value <= to; ++value) {
        if (value % 10 == 0) ShowPercent(value);
        StepMain();
        Sweep();
        RepaintIfDue();
    }
    SendState();
}

void CProgressDlg::Tick()
{
    Sweep();
    SendState();
    RepaintIfDue();
}

void CProgressDlg::Dismiss()
{
    Repaint();
    EndDialog(1);
}

int CProgressDlg::MessageBox(const char* text, const char* caption, UINT type)
{
    if (::IsWindowVisible(GetSafeHwnd())) Repaint();
    return CDialog::MessageBox(text, caption, type);
}

// A bar does not move beyond its range, however many steps it is given.
void CProgressDlg::StepMain()
{
    m_nMainPos = std::clamp(m_nMainPos + 1, m_nMainLow, m_nMainHigh);
    ++m_nMainSteps;
}

// Six steps over a range of five: every sweep ends with the thin bar full.
void CProgressDlg::Sweep()
{
    m_nTickPos = 0;
    for (int step = 0; step < kTickStepsPerSweep; ++step) {
        m_nTickPos = std::min(m_nTickPos + 1, static_cast<int>(kTickRange));
        ++m_nTickSteps;
    }
}

void CProgressDlg::ShowPercent(int value)
{
    std::snprintf(m_szCaption, sizeof m_szCaption, "集計中 %d％", value / 10);
    ++m_nCaptions;
}

// The controls are sent what changed with the window's redraw flag off (WM_SETREDRAW): they
// take the new state and answer for it but draw nothing, which makes a new position or caption
// cost a hundredth of drawing it. Only a visible window's flag is turned off, since turning it
// on again shows a hidden one.
void CProgressDlg::SendState()
{
    if (GetSafeHwnd() == nullptr || m_sent == Current()) return;
    const bool hold = ::IsWindowVisible(GetSafeHwnd()) != FALSE;
    if (hold) SendMessage(WM_SETREDRAW, FALSE);
    if (m_sent.captions != m_nCaptions) SetWindowText(m_szCaption);
    if (m_sent.mainPos != m_nMainPos) m_barMain.SetPos(m_nMainPos);
    if (m_sent.tickPos != m_nTickPos) {
        if (!m_bTickRangeSent) {
            m_barTick.SetRange(0, kTickRange);
            m_barTick.SetStep(1);
            m_bTickRangeSent = true;
        }
        m_barTick.SetPos(m_nTickPos);
    }
    m_sent = Current();
    if (hold) SendMessage(WM_SETREDRAW, TRUE);
}

void CProgressDlg::RepaintIfDue()
{
    if (m_nRepaints == 0 || FrameClockMs() - m_nLastRepaintMs >= kFrameMs) Repaint();
}

// Raising the window costs a third of a repaint and changes nothing while no window is above
// it and it is the foreground window, or its top-level window (the host window it is a child
// of) is.
bool CProgressDlg::IsInFront() const
{
    const HWND window = GetSafeHwnd();
    const HWND foreground = ::GetForegroundWindow();
    return (foreground == window || foreground == ::GetAncestor(window, GA_ROOT)) &&
           ::GetWindow(window, GW_HWNDPREV) == nullptr;
}

void CProgressDlg::Repaint()
{
    if (GetSafeHwnd() == nullptr) return;
    SendState();
    if (!IsInFront()) {
        BringWindowToTop();
        SetForegroundWindow();
    }
    DrawChanges();
    ++m_nRepaints;
    m_nLastRepaintMs = FrameClockMs();
}

// The first repaint draws the whole window, which nothing has drawn since it was shown; later
// ones what changed since the last. Setting the caption while drawing is allowed draws it.
void CProgressDlg::DrawChanges()
{
    if (m_nRepaints == 0) {
        ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    } else {
        if (m_drawn.captions != m_nCaptions) SetWindowText(m_szCaption);
        if (m_drawn.mainPos != m_nMainPos) ::InvalidateRect(m_barMain.GetSafeHwnd(), nullptr, TRUE);
        if (m_drawn.tickPos != m_nTickPos) ::InvalidateRect(m_barTick.GetSafeHwnd(), nullptr, TRUE);
        UpdateWindow();
    }
    m_drawn = Current();
}
