#pragma once
// The application object: one start of the program is one run, performed by InitInstance
// and closed by ExitInstance. There is no main window and no event loop of our own.

#include <cstdint>
#include <optional>
#include <windows.h>

#include "aggregate/StatementList.h"
#include "app/CommandLine.h"
#include "app/HostWindowClaim.h"
#include "framework/String.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

class CProgressDlg;
class LastConditionsStore;
class ClSetData;
struct StDATAINFO;
struct RunConditions;

// How a run ended, posted to the host window as the completion message's lParam; also how
// each stage of the run ended, kRunCompleted letting the run go on.
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
    int CheckCompatibility(int showMessage);
    int ReadCompanyInfo(StDATAINFO* out);

    HWND m_hHostWnd = nullptr;      // the window the command line names, also on a line cut short
    CWnd m_hostWnd;                 // wrapper of m_hHostWnd
    CWnd* m_pHostWnd = nullptr;     // &m_hostWnd while that names a window, else null
    RunResult m_nResult = kRunCompleted;  // set once by InitInstance; posted to the host as lParam
    StatementList m_statementList;  // filled by the aggregation, emptied by ExitInstance
    ClSetData* m_pDataSet = nullptr;  // host company-data set; the host's, never freed here

private:
    int16_t FunctionId() const { return m_hostLine ? m_hostLine->functionId : kDefaultFunctionId; }
    RunResult RunSteps();   // the run itself, stage by stage; InitInstance catches what it throws
    RunResult ConnectToHost();
    RunResult TakeCommandLine();
    void TakeHostWindow();
    RunResult LeaveHostWindowToItsRun();
    RunResult CheckHostPath();
    void EnterProgramFolder();
    RunResult ClearedToRun();
    RunResult CheckPeriod(const StDATAINFO& data);
    RunResult Export(const LastConditionsStore& lastConditions, const RunConditions& conditions,
                     const StDATAINFO& dataInfo);
    RunResult FailOverProgress(CProgressDlg& progressDlg, const char* message);
    RunResult FailWithoutProgress();
    void FreeStatementList();
    void NotifyHost();

    std::optional<HostCommandLine> m_hostLine;  // the host's command line, when it was complete
    int m_bHostWindowInUse = 0;     // 1 when another run holds the host window: it is only told
    HostWindowClaim m_hostWindowClaim;  // held from the command line until the host is told
};
