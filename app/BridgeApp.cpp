#include "app/BridgeApp.h"

#include <cstdlib>
#include <cstring>

#include "aggregate/BalanceAggregator.h"
#include "aggregate/PeriodMonths.h"
#include "app/ProgressDlg.h"
#include "app/ProgressPlacement.h"
#include "dialog/ConditionDlg.h"
#include "framework/CodePage.h"
#include "framework/FileSystem.h"
#include "framework/MessageBox.h"
#include "framework/Wnd.h"
#include "host/HostLibrary.h"
#include "host/HostRecords.h"
#include "report/StatementReport.h"
#include "res/Caption.h"
#include "res/Edition.h"
#include "res/resource.h"

namespace {

const char kDoneMessage[] = "科目内訳書情報の出力が終了しました。\n\nアプリケーションを終了します。";
const char kFailedMessage[] = "XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。";
const char kAggregationFailedMessage[] = "残高の集計に失敗しました。\n\nアプリケーションを終了します。";
const char kBalanceTooWideMessage[] = "科目「%s」の残高が出力できる桁数を超えています。\n\nアプリケーションを終了します。";
const char kPeriodRefusedMessage[] = "会計期間（%s）の科目内訳書は出力できません。\n\nアプリケーションを終了します。";
const char kAlreadyRunningMessage[] = "このウィンドウからの科目内訳書の出力はすでに実行中です。";
const int16_t kPastResultsDataKind = 99;
const int16_t kReportProgressBase = 500;

// What the user chose in the condition dialog.
struct RunConditions {
    int16_t taxIncluded = 0;
    long fromMonth = 0;
    long toMonth = 0;
    char outputPath[261] = {};
};

// The wait cursor of a busy run, ended on every way out of it.
class WaitCursor {
public:
    explicit WaitCursor(CWinApp& app) : app_(app) { app_.BeginWaitCursor(); }
    ~WaitCursor() { app_.EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    CWinApp& app_;
};

// "2002/01/11～2002/12/31"
CString PeriodText(const StDATAINFO& data)
{
    const long start = data.nPeriodStart;
    const long end = data.nPeriodEnd;
    CString text;
    text.Format("%04ld/%02ld/%02ld～%04ld/%02ld/%02ld", start / 10000, start % 10000 / 100, start % 100,
                end / 10000, end % 10000 / 100, end % 100);
    return text;
}

// A WM_QUIT in our thread's queue ends a message box the moment it appears (and is posted
// again), so the user would never read how the run ended. It is held back while the final
// message is up and posted again after it.
class QuitHeldBack {
public:
    QuitHeldBack()
    {
        MSG quit;
        held_ = ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
        if (held_) exitCode_ = static_cast<int>(quit.wParam);
    }
    ~QuitHeldBack()
    {
        if (held_) ::PostQuitMessage(exitCode_);
    }
    QuitHeldBack(const QuitHeldBack&) = delete;
    QuitHeldBack& operator=(const QuitHeldBack&) = delete;

private:
    bool held_ = false;
    int exitCode_ = 0;
};

void FillConditionDialog(CConditionDlg& dlg, const StDATAINFO& data, const CBridgeApp& app)
{
    dlg.m_bPastData = (data.nDataKind == kPastResultsDataKind) ? 1 : 0;
    dlg.m_strHostPath = app.m_bFromHost == 1 ? static_cast<const char*>(app.m_strHostPath) : "";
    dlg.m_nPeriodStart = data.nPeriodStart;
    dlg.m_nPeriodEnd = data.nPeriodEnd;

    // A leading blank, the name, and the terminator fit a 51-byte area.
    char company[51] = " ";
    CopyCp932Text(company + 1, sizeof company - 1, data.szCompanyName, sizeof data.szCompanyName);
    dlg.m_strCompany = company;

    dlg.m_strPeriod = " ";
    dlg.m_strPeriod += PeriodText(data);
}

void AskHostForUser(CConditionDlg& dlg)
{
    std::memset(dlg.m_szUserId, 0, sizeof dlg.m_szUserId);
    dlg.m_nSelectNo1 = 0;
    dlg.m_nSelectNo2 = 0;
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    if (user == nullptr) return;
    user->GetCurUserID(dlg.m_szUserId);
    dlg.m_szUserId[sizeof dlg.m_szUserId - 1] = '\0';
    user->GetSelectedNo(dlg.m_szUserId, &dlg.m_nSelectNo1, &dlg.m_nSelectNo2);
}

RunConditions TakeConditions(const CConditionDlg& dlg)
{
    RunConditions conditions;
    conditions.taxIncluded = dlg.m_nTaxIncluded;
    conditions.fromMonth = std::strtol(dlg.m_strFromMonth, nullptr, 10);
    conditions.toMonth = std::strtol(dlg.m_strToMonth, nullptr, 10);
    CopyCp932Text(conditions.outputPath, sizeof conditions.outputPath, dlg.m_strOutputPath,
                  static_cast<size_t>(dlg.m_strOutputPath.GetLength()));
    return conditions;
}

// Once the progress window is up, a stage that throws (a host call, memory, a sum beyond the
// money limit) has failed like one that returned 0, so the run can say so over the window.
template <typename Stage>
int ZeroIfThrown(Stage stage)
{
    try {
        return stage();
    } catch (...) {
        return 0;
    }
}

// The summation conditions are built inside the stage's guard: a host call that throws while
// the months are worked out fails the aggregation like any other.
int AggregateBalances(CBridgeApp& app, BalanceAggregator& aggregator, const RunConditions& conditions,
                      const StDATAINFO& data)
{
    return ZeroIfThrown([&] {
        StFINDINFO findInfo;
        std::memset(&findInfo, 0, sizeof findInfo);
        app.BuildFindConditions(&findInfo, &data, conditions.fromMonth, conditions.toMonth);
        return aggregator.Aggregate(conditions.taxIncluded != 0 ? 1 : 0, &findInfo, &data);
    });
}

// What a closing call throws has nothing left to undo: the calls after it must still run.
template <typename Call>
void IgnoreThrown(Call call)
{
    try {
        call();
    } catch (...) {
    }
}

// Started by the host, the path is the host's affair: the entry keeps the path it held.
// Remembering is best effort: the statement is written, whatever happens here.
void RememberConditions(CConditionDlg& dlg, const RunConditions& conditions, bool fromHost)
{
    ZeroIfThrown([&] {
        return dlg.WriteLastConditions(conditions.taxIncluded, static_cast<int16_t>(conditions.toMonth),
                                       fromHost ? nullptr : conditions.outputPath);
    });
}

// A report that stopped at a balance the file cannot carry names its account.
CString ReportFailedMessage(const StatementReport& report)
{
    const char* refused = report.RefusedBalanceName();
    if (refused == nullptr) return kFailedMessage;
    CString message;
    message.Format(kBalanceTooWideMessage, refused);
    return message;
}

}  // namespace

CBridgeApp::CBridgeApp() = default;

CBridgeApp::~CBridgeApp() = default;

// The one place where a run's exceptions end: whatever a stage throws (a host call, the
// framework, memory), every object of the run has been destroyed on the way out, the run
// counts as failed, and ExitInstance still logs out and tells the host.
BOOL CBridgeApp::InitInstance()
{
    try {
        return RunSteps();
    } catch (...) {
        m_nResult = kRunFailed;
        return FALSE;
    }
}

BOOL CBridgeApp::RunSteps()
{
    if (!ConnectToHost()) return FALSE;
    if (ParseCommandLine(m_lpCmdLine) == 1) {
        TakeHostWindow();
        if (m_bHostWindowInUse == 1) return LeaveHostWindowToItsRun();
    }
    if (!HostPathFits()) {
        m_nResult = kRunFailed;
        return FALSE;
    }
    EnterProgramFolder();
    if (!ClearedToRun()) return FALSE;

    StDATAINFO dataInfo;
    std::memset(&dataInfo, 0, sizeof dataInfo);
    ReadCompanyInfo(&dataInfo);
    if (!PeriodCanBeExported(dataInfo)) {
        m_nResult = kRunFailed;
        return FALSE;
    }

    CConditionDlg conditionDlg(m_pHostWnd);
    AskHostForUser(conditionDlg);
    FillConditionDialog(conditionDlg, dataInfo, *this);
    // Only Execute goes on; a dialog that could not even be created (-1) is a failure.
    const INT_PTR dialogResult = conditionDlg.DoModal();
    if (dialogResult != kConditionExecute) {
        m_nResult = dialogResult == kConditionCancel ? kRunCancelled : kRunFailed;
        return FALSE;
    }
    const RunConditions conditions = TakeConditions(conditionDlg);

    CProgressDlg progressDlg;
    ShowProgressWindow(progressDlg, m_pHostWnd);
    WaitCursor waitCursor(*this);
    progressDlg.ResetProgress();

    BalanceAggregator aggregator;
    StatementReport report;
    aggregator.progressWindow = &progressDlg;
    aggregator.statementList = &m_statementList;
    report.progressWindow = &progressDlg;
    report.statementList = &m_statementList;

    // A statement with rows missing is not written: the file of that name stays as it was.
    if (AggregateBalances(*this, aggregator, conditions, dataInfo) == 0)
        return FailOverProgress(progressDlg, kAggregationFailedMessage);
    report.SetProgressBase(kReportProgressBase);
    const int written =
        ZeroIfThrown([&] { return report.WriteReport(conditions.outputPath, m_nFunctionId, &dataInfo); });

    if (written != 0) {
        RememberConditions(conditionDlg, conditions, m_bFromHost == 1);
        progressDlg.Dismiss();
        RestoreWaitCursor();
        const QuitHeldBack quit;
        progressDlg.MessageBox(kDoneMessage, kMessageCaption, MB_ICONINFORMATION | MB_OK);
        return CWinApp::InitInstance();
    }
    return FailOverProgress(progressDlg, ReportFailedMessage(report));
}

// A failure while the progress window is up is said over the window, which then goes.
BOOL CBridgeApp::FailOverProgress(CProgressDlg& progressDlg, const char* message)
{
    {
        const QuitHeldBack quit;
        progressDlg.MessageBox(message, kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
    }
    progressDlg.Dismiss();
    RestoreWaitCursor();
    m_nResult = kRunFailed;
    return FALSE;
}

// The host gets its connection closed in full and hears how the run ended, whatever a
// closing call throws.
int CBridgeApp::ExitInstance()
{
    FreeStatementList();
    ClAccConnect* connection = ClAccConnect::Inst();
    IgnoreThrown([&] { connection->LogOut(); });
    IgnoreThrown([&] { connection->Terminate(); });
    IgnoreThrown([&] { connection->Release(); });
    if (m_bFromHost == 1) NotifyHost();
    // Given back and told: the host may start the next run for its window at once.
    m_hostWindowClaim.Release();
    return CWinApp::ExitInstance();
}

BOOL CBridgeApp::ConnectToHost()
{
    ClAccConnect* connection = ClAccConnect::Inst();
    connection->m_pszCaption = kMessageCaption;
    connection->SetAppType(kEdition.appType);
    connection->SetUseDataType(1);
    return connection->Initiate() == 0;
}

// The host window is disabled for the whole run and becomes the parent of our windows;
// ExitInstance enables it again. A handle that names no window (0, or a window already
// gone) is not taken: a dialog given it as parent could not be created at all. The window is
// claimed before it is touched: one that another run holds is left alone.
void CBridgeApp::TakeHostWindow()
{
    m_bFromHost = 1;
    m_hostWnd = CWnd(m_hHostWnd);
    m_pHostWnd = (m_hHostWnd != nullptr && m_hostWnd.IsWindow()) ? &m_hostWnd : nullptr;
    m_bHostWindowInUse = m_hostWindowClaim.Claim(m_hHostWnd) ? 0 : 1;
    if (m_bHostWindowInUse == 1) return;
    if (m_pHostWnd != nullptr) m_pHostWnd->EnableWindow(FALSE);
    ClAccConnect::Inst()->m_hOwnerWnd = m_hHostWnd;
}

// A period longer than the twelve months a row carries would be summed into wrong figures:
// the user is told before choosing anything.
BOOL CBridgeApp::PeriodCanBeExported(const StDATAINFO& data)
{
    if (IsExportablePeriod(data.nPeriodStart, data.nPeriodEnd)) return TRUE;
    CString message;
    message.Format(kPeriodRefusedMessage, static_cast<const char*>(PeriodText(data)));
    HWND owner = m_pHostWnd != nullptr ? m_pHostWnd->GetSafeHwnd() : nullptr;
    AfxShowMessageBox(owner, message, kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
    return FALSE;
}

// Files that travel with the program (the receiving program's definitions, the support
// information) are looked for in the current directory.
void CBridgeApp::EnterProgramFolder()
{
    SetCurrentFolder(GetModuleFolder());
}

BOOL CBridgeApp::ClearedToRun()
{
    if (CheckCompatibility(1) == 0) {
        m_nResult = kRunFailed;
        return FALSE;
    }
    const long link = ClAccConnect::Inst()->ExpSysLink();
    if (link == 0) return TRUE;
    m_nResult = (link == 1) ? kRunCancelled : kRunFailed;
    return FALSE;
}

void CBridgeApp::FreeStatementList()
{
    m_statementList.RemoveAll();
}

// The function id goes out sign-extended from its 16 bits. A window another run holds is only
// told how this start ended: that run gives it back.
void CBridgeApp::NotifyHost()
{
    if (m_pHostWnd == nullptr) return;  // no window to tell
    const bool held = m_bHostWindowInUse == 0;
    if (held) {
        m_pHostWnd->SetForegroundWindow();
        m_pHostWnd->EnableWindow(TRUE);
    }
    m_pHostWnd->PostMessage(m_nNotifyMsg, static_cast<WPARAM>(static_cast<intptr_t>(m_nFunctionId)),
                            static_cast<LPARAM>(m_nResult));
    if (held) m_pHostWnd->EnableWindow(TRUE);
}

// The host started us for a window whose run is still going on (it is disabled): the user is
// told with a message that no disabled window owns, and this start ends as cancelled.
BOOL CBridgeApp::LeaveHostWindowToItsRun()
{
    AfxShowMessageBox(nullptr, kAlreadyRunningMessage, kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
    m_nResult = kRunCancelled;
    return FALSE;
}
