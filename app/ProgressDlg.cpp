#include "app/ProgressDlg.h"

#include "framework/DataExchange.h"
#include "res/resource.h"

CProgressDlg::CProgressDlg(CWnd* parent) : CDialog(IDD_PROGRESS, parent) {}

void CProgressDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_MAIN, m_barMain);
    DDX_Control(pDX, IDC_PROGRESS_TICK, m_barTick);
}

// The bars do not move yet: the window shows that the run is busy and nothing more.
void CProgressDlg::ResetProgress() {}
void CProgressDlg::Advance(short /*from*/, short /*to*/) {}
void CProgressDlg::Tick() {}

void CProgressDlg::Dismiss()
{
    EndDialog(1);
}
