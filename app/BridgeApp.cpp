#include "app/BridgeApp.h"

#include <cstdlib>
#include <cstring>

#include "aggregate/BalanceAggregator.h"
#include "aggregate/PeriodMonths.h"
#include "app/CompanyData.h"
#include "app/ProgressDlg.h"
#include "app/ProgressPlacement.h"
#include "dialog/ConditionDlg.h"
#include "dialog/LastConditionsStore.h"
#include "framework/CodePage.h"
#include "framework/FileSystem.h"
#include "framework/MessageQueue.h"
#include "framework/MessageBox.h"
#include "framework/ShutdownBlockReason.h"
#include "framework/Wnd.h"
#include "host/HostLibrary.h"
#include "host/HostRecords.h"
#include "report/StatementReport.h"
#include "res/Caption.h"
#include "res/Edition.h"
#include "res/resource.h"

// What the user chose in the condition dialog.
struct RunConditions {
    int16_t taxIncluded = 0;
    long fromMonth = 0;
    long toMonth = 0;
    char outputPath[261] = {};
};

namespace {

const char kDoneMessage[] = "科目内訳書情報の出力が終了しました。\n\nアプリケーションを終了します。";
const char kFailedMessage[] = "XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。";
const char kAggregationFailedMessage[] = "残高の集計に失敗しました。\n\nアプリケーションを終了します。";
const char kBalanceTooWideMessage[] = "科目「%s」の残高が出力できる桁数を超えています。\n\nアプリケーションを終了します。";
const char kPeriodRefusedMessage[] = "会計期間（%s）の科目内訳書は出力できません。\n\nアプリケーションを終了します。";
const char kAlreadyRunningMessage[] = "このウィンドウからの科目内訳書の出力はすでに実行中です。";
const char kSavingReason[] = "科目内訳書のファイルを保存しています。";
const char kPathTooLongMessage[] = "出力先のパスが長すぎます。\n\nアプリケーションを終了します。";
const int16_t kPastResultsDataKind = 99;
const int16_t kReportProgressBase = 500;
// The longest output path, in bytes, that the condition dialog and the report accept.
const size_t kMaxOutputPathBytes = 255;

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

void FillConditionDialog(CConditionDlg& dlg, const StDATAINFO& data, const char* hostPath)
{
    dlg.m_bPastData = (data.nDataKind == kPastResultsDataKind) ? 1 : 0;
    dlg.m_strHostPath = hostPath;
    dlg.m_nPeriodStart = data.nPeriodStart;
    dlg.m_nPeriodEnd = data.nPeriodEnd;

    // A leading blank, the name, and the terminator fit a 51-byte area.
    char company[51] = " ";
    CopyCp932Text(company + 1, sizeof company - 1, data.szCompanyName, sizeof data.szCompanyName);
    dlg.m_strCompany = company;

    dlg.m_strPeriod = " ";
    dlg.m_strPeriod += PeriodText(data);
}

// The remembered conditions of the host's current user and selection.
LastConditionsStore AskHostForUser()
{
    const HostUser user = ReadHostUser();
    return LastConditionsStore(user.id, user.selectNo1, user.selectNo2);
}

// Only Execute goes on; a dialog that could not even be created (-1) is a failure.
RunResult RunConditionDialog(CConditionDlg& dlg)
{
    const INT_PTR dialogResult = dlg.DoModal();
    if (dialogResult == kConditionExecute) return kRunCompleted;
    return dialogResult == kConditionCancel ? kRunCancelled : kRunFailed;
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
int AggregateBalances(BalanceAggregator& aggregator, const RunConditions& conditions,
                      const StDATAINFO& data)
{
    return ZeroIfThrown([&] {
        StFINDINFO findInfo;
        std::memset(&findInfo, 0, sizeof findInfo);
        BuildFindConditions(&findInfo, &data, conditions.fromMonth, conditions.toMonth);
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
void RememberConditions(const LastConditionsStore& lastConditions, const RunConditions& conditions, bool fromHost)
{
    ZeroIfThrown([&] {
        return lastConditions.Write(conditions.taxIncluded, static_cast<int16_t>(conditions.toMonth),
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
    m_nResult = [this] {
        try {
            return RunSteps();
        } catch (...) {
            return kRunFailed;
        }
    }();
    return m_nResult == kRunCompleted ? TRUE : FALSE;
}

// Each stage says how it ended; kRunCompleted lets the run go on to the next.
RunResult CBridgeApp::RunSteps()
{
    if (const RunResult ended = ConnectToHost(); ended != kRunCompleted) return ended;
    if (const RunResult ended = TakeCommandLine(); ended != kRunCompleted) return ended;
    EnterProgramFolder();
    if (const RunResult ended = ClearedToRun(); ended != kRunCompleted) return ended;

    StDATAINFO dataInfo;
    std::memset(&dataInfo, 0, sizeof dataInfo);
    ReadCompanyInfo(&dataInfo);
    if (const RunResult ended = CheckPeriod(dataInfo); ended != kRunCompleted) return ended;

    LastConditionsStore lastConditions = AskHostForUser();
    CConditionDlg conditionDlg(lastConditions, m_pHostWnd);
    FillConditionDialog(conditionDlg, dataInfo, m_hostLine ? m_hostLine->outputPath.c_str() : "");
    if (const RunResult ended = RunConditionDialog(conditionDlg); ended != kRunCompleted) return ended;
    return Export(lastConditions, TakeConditions(conditionDlg), dataInfo);
}

// The progress window is up from the aggregation to the message that says how the export ended.
RunResult CBridgeApp::Export(const LastConditionsStore& lastConditions, const RunConditions& conditions,
                             const StDATAINFO& dataInfo)
{
    CProgressDlg progressDlg;
    if (!ShowProgressWindow(progressDlg, m_pHostWnd)) return FailWithoutProgress();
    WaitCursor waitCursor(*this);
    progressDlg.ResetProgress();

    BalanceAggregator aggregator(progressDlg, m_statementList);
    StatementReport report(progressDlg, m_statementList);

    // A statement with rows missing is not written: the file of that name stays as it was.
    if (AggregateBalances(aggregator, conditions, dataInfo) == 0)
        return FailOverProgress(progressDlg, kAggregationFailedMessage);
    report.SetProgressBase(kReportProgressBase);
    const int written = ZeroIfThrown([&] {
        // A shutdown meanwhile says why the program waits; one that goes on leaves the old
        // statement whole, since the new one takes its place only when complete.
        const CShutdownBlockReason saving(progressDlg.GetSafeHwnd(), kSavingReason);
        return report.WriteReport(conditions.outputPath, FunctionId(), &dataInfo);
    });
    if (written == 0) return FailOverProgress(progressDlg, ReportFailedMessage(report));

    RememberConditions(lastConditions, conditions, m_hostLine.has_value());
    progressDlg.Dismiss();
    RestoreWaitCursor();
    progressDlg.MessageBox(kDoneMessage, kMessageCaption, MB_ICONINFORMATION | MB_OK);
    return kRunCompleted;
}

// A failure while the progress window is up is said over the window, which then goes.
RunResult CBridgeApp::FailOverProgress(CProgressDlg& progressDlg, const char* message)
{
    progressDlg.MessageBox(message, kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
    progressDlg.Dismiss();
    RestoreWaitCursor();
    return kRunFailed;
}

// Without its window the run could neither show how far it got nor say how it ended over it
// (the session may have no window handles left): it ends before anything is summed, said over
// the host window.
RunResult CBridgeApp::FailWithoutProgress()
{
    const QueueReadyForBox queueReady;
    HWND owner = m_pHostWnd != nullptr ? m_pHostWnd->GetSafeHwnd() : nullptr;
    AfxShowMessageBox(owner, kFailedMessage, kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
    return kRunFailed;
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
    // Given back before the host is told: a host that starts the next run for its window as
    // soon as it hears of this one finds the window free.
    m_hostWindowClaim.Release();
    if (m_hostLine) NotifyHost();
    return CWinApp::ExitInstance();
}

// A run that cannot connect ends silently: the host is not told, as no command line was read.
RunResult CBridgeApp::ConnectToHost()
{
    ClAccConnect* connection = ClAccConnect::Inst();
    connection->m_pszCaption = kMessageCaption;
    connection->SetAppType(kEdition.appType);
    connection->SetUseDataType(1);
    return connection->Initiate() == 0 ? kRunCompleted : kRunFailed;
}

// The host's command line, when it is complete, names the window the run takes, and may fix
// the output path.
RunResult CBridgeApp::TakeCommandLine()
{
    m_hHostWnd = WindowNamedBy(m_lpCmdLine);
    m_hostLine = ParseHostCommandLine(m_lpCmdLine);
    if (m_hostLine) {
        TakeHostWindow();
        if (m_bHostWindowInUse == 1) return LeaveHostWindowToItsRun();
    }
    return CheckHostPath();
}

// The host window is disabled for the whole run and becomes the parent of our windows;
// ExitInstance enables it again. A handle that names no window (0, or a window already
// gone) is not taken, nor claimed: a dialog given it as parent could not be created at all,
// and two such starts have no window to share. The window is claimed before it is touched:
// one that another run holds is left alone.
void CBridgeApp::TakeHostWindow()
{
    m_hostWnd = CWnd(m_hHostWnd);
    m_pHostWnd = (m_hHostWnd != nullptr && m_hostWnd.IsWindow()) ? &m_hostWnd : nullptr;
    if (m_pHostWnd != nullptr) {
        m_bHostWindowInUse = m_hostWindowClaim.Claim(m_hHostWnd) ? 0 : 1;
        if (m_bHostWindowInUse == 1) return;
        m_pHostWnd->EnableWindow(FALSE);
    }
    ClAccConnect::Inst()->m_hOwnerWnd = m_hHostWnd;
}

// The host's output path must fit the output path whole; when it does not, the user is told
// and the run ends before anything is read or written.
RunResult CBridgeApp::CheckHostPath()
{
    if (!m_hostLine || m_hostLine->outputPath.size() <= kMaxOutputPathBytes) return kRunCompleted;
    HWND owner = m_pHostWnd != nullptr ? m_pHostWnd->GetSafeHwnd() : nullptr;  // a window that exists
    AfxShowMessageBox(owner, kPathTooLongMessage, kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
    return kRunFailed;
}

// A period longer than the twelve months a row carries, or whose first and last months would
// share a month slot, would be summed into wrong figures; a selection that names no company
// has no period at all (0 to 0). The user is told before choosing anything.
RunResult CBridgeApp::CheckPeriod(const StDATAINFO& data)
{
    if (IsExportablePeriod(data.nPeriodStart, data.nPeriodEnd)) {
        short first = 0;
        short last = 0;
        CalcPeriodMonths(data.nPeriodStart, data.nPeriodEnd, &first, &last);
        if (AreMonthsDistinct(data.nPeriodStart, data.nPeriodEnd, first, last)) return kRunCompleted;
    }
    CString message;
    message.Format(kPeriodRefusedMessage, static_cast<const char*>(PeriodText(data)));
    HWND owner = m_pHostWnd != nullptr ? m_pHostWnd->GetSafeHwnd() : nullptr;
    AfxShowMessageBox(owner, message, kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
    return kRunFailed;
}

// Files that travel with the program (the receiving program's definitions, the support
// information) are looked for in the current directory.
void CBridgeApp::EnterProgramFolder()
{
    SetCurrentFolder(GetModuleFolder());
}

// The receiving program must speak our interface level, and the host must agree to go on.
RunResult CBridgeApp::ClearedToRun()
{
    if (CheckCompatibility(1) == 0) return kRunFailed;
    const long link = ClAccConnect::Inst()->ExpSysLink();
    if (link == 0) return kRunCompleted;
    return link == 1 ? kRunCancelled : kRunFailed;
}

void CBridgeApp::FreeStatementList()
{
    m_statementList.RemoveAll();
}

// The function id goes out sign-extended from its 16 bits. A window another run holds is only
// told how this start ended: that run gives it back.
// The window we held is enabled before the post, so that the host can act on the message at
// once, and once more after it: the host reads the message on its own thread, so what the
// window is by then is not ours to know, and the host has always found it enabled once the
// program had told it. (Enabling an enabled window changes nothing the host sees.)
void CBridgeApp::NotifyHost()
{
    if (m_pHostWnd == nullptr) return;  // no window to tell
    const bool held = m_bHostWindowInUse == 0;
    if (held) {
        m_pHostWnd->SetForegroundWindow();
        m_pHostWnd->EnableWindow(TRUE);
    }
    m_pHostWnd->PostMessage(m_hostLine->notifyMsg, static_cast<WPARAM>(static_cast<intptr_t>(FunctionId())),
                            static_cast<LPARAM>(m_nResult));
    if (held) m_pHostWnd->EnableWindow(TRUE);
}

// The host started us for a window whose run is still going on (it is disabled): the user is
// told with a message that no disabled window owns, and this start ends as cancelled.
RunResult CBridgeApp::LeaveHostWindowToItsRun()
{
    AfxShowMessageBox(nullptr, kAlreadyRunningMessage, kMessageCaption, MB_ICONEXCLAMATION | MB_OK);
    return kRunCancelled;
}
