#pragma once
// The application object: one start of the program is one run, performed by InitInstance
// and closed by ExitInstance. There is no main window and no event loop of our own.

#include <cstdint>
#include <windows.h>

#include "aggregate/StatementList.h"
#include "app/HostWindowClaim.h"
#include "framework/String.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

class CProgressDlg;
class ClSetData;
struct StDATAINFO;
struct StFINDINFO;

// How a run ended, posted to the host window as the completion message's lParam.
enum RunResult : int {
    kRunCompleted = 0,
    kRunCancelled = 1,
    kRunFailed = 2,
};

class CBridgeApp : public CWinApp {
public:
    CBridgeApp();
    ~CBridgeApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // Stages of the run, each called once at its place in InitInstance.
    int ParseCommandLine(const char* text);
    int CheckCompatibility(int showMessage);
    int ReadCompanyInfo(StDATAINFO* out);
    void BuildFindConditions(StFINDINFO* out, const StDATAINFO* data, long fromMonth, long toMonth);

    int m_bFromHost = 0;            // 1 when the host's command line was complete
    HWND m_hHostWnd = nullptr;      // host window from the command line
    uint32_t m_nNotifyMsg = 0;      // message posted to the host window at the end
    int16_t m_nFunctionId = 1;      // function id: written to the XML file, posted as wParam
    CString m_strHostPath;          // output path fixed by the host
    CWnd m_hostWnd;                 // wrapper of m_hHostWnd
    CWnd* m_pHostWnd = nullptr;     // &m_hostWnd while that names a window, else null
    int m_nResult = kRunCompleted;  // posted to the host as lParam
    StatementList m_statementList;  // filled by the aggregation, emptied by ExitInstance
    ClSetData* m_pDataSet = nullptr;  // host company-data set; the host's, never freed here
    int m_bHostWindowInUse = 0;     // 1 when another run holds the host window: it is only told

private:
    BOOL RunSteps();   // the run itself, step by step; InitInstance catches what it throws
    BOOL ConnectToHost();
    void TakeHostWindow();
    BOOL HostPathFits();
    void EnterProgramFolder();
    BOOL ClearedToRun();
    BOOL PeriodCanBeExported(const StDATAINFO& data);
    BOOL FailOverProgress(CProgressDlg& progressDlg, const char* message);
    void FreeStatementList();
    void NotifyHost();
    BOOL LeaveHostWindowToItsRun();

    HostWindowClaim m_hostWindowClaim;  // held from the command line until the host is told
};
