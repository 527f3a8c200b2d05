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

uint64_t CProgressDlg::FrameClockMs() const
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    const uint64_t ticksPerMs = std::max<uint64_t>(static_cast<uint64_t>(frequency.QuadPart) / 1000, 1);
    return static_cast<uint64_t>(now.QuadPart) / ticksPerMs;
}

void CProgressDlg::ResetProgress()
{
    m_nMainLow = 0;
    m_nMainHigh = kMainRange;
    m_nMainPos = 0;
    m_barMain.SetRange(0, kMainRange);
    m_barMain.SetStep(1);
    m_barMain.SetPos(0);
}

// The values run through an int, so that a `to` of 32767 ends the loop.
void CProgressDlg::Advance(short from, short to)
{
    if (to < from) return;
    for (int value = from; value <= to; ++value) {
        if (value % 10 == 0) ShowPercent(value);
        StepMain();
        Tick();
    }
    Repaint();
}

void CProgressDlg::Tick()
{
    m_nTickPos = 0;
    for (int step = 0; step < kTickStepsPerSweep; ++step) {
        m_nTickPos = std::min(m_nTickPos + 1, static_cast<int>(kTickRange));
        ++m_nTickSteps;
    }
    RepaintIfDue();
}

void CProgressDlg::Dismiss()
{
    Repaint();
    EndDialog(1);
}

// A bar does not move beyond its range, however many steps it is given.
void CProgressDlg::StepMain()
{
    m_nMainPos = std::clamp(m_nMainPos + 1, m_nMainLow, m_nMainHigh);
    ++m_nMainSteps;
}

void CProgressDlg::ShowPercent(int value)
{
    char caption[64] = {};
    std::snprintf(caption, sizeof caption, "集計中 %d％", value / 10);
    SetWindowText(caption);
    Repaint();
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
    if (!m_bTickRangeSent) {
        m_barTick.SetRange(0, kTickRange);
        m_barTick.SetStep(1);
        m_bTickRangeSent = true;
    }
    m_barMain.SetPos(m_nMainPos);
    m_barTick.SetPos(m_nTickPos);
    if (!IsInFront()) {
        BringWindowToTop();
        SetForegroundWindow();
    }
    UpdateWindow();
    ++m_nRepaints;
    m_nLastRepaintMs = FrameClockMs();
}
