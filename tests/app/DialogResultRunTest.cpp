// Only the condition dialog's Execute lets a run go on: a dialog that fails (its start
// breaks off, so it ends with -1) makes the run a failed one with nothing exported; a run that
// cannot be done is refused before the dialog.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/BridgeApp.h"
#include "app/HostWindowClaim.h"
#include "framework/CodePage.h"
#include "framework/TestSeams.h"
#include "res/resource.h"
#include "tests/host/ServedTestCompany.h"

namespace {

using Calls = std::vector<std::string>;

// One whole run that is refused before it gets anywhere, and the message boxes it showed.
std::vector<MessageBoxCall> RunRefused(CBridgeApp& app)
{
    std::vector<MessageBoxCall> shown;
    SetMessageBoxResponder([&](const MessageBoxCall& call) {
        shown.push_back(call);
        return IDOK;
    });
    EXPECT_FALSE(app.InitInstance());
    app.ExitInstance();
    SetMessageBoxResponder(nullptr);
    return shown;
}

TEST(DialogResultRun, ADialogThatFailsEndsTheRunFailedWithoutExport)
{
    ServedTestCompany company;
    // The dialog asks for the settings folder while it starts; the call throws there.
    company.Faults("Throw = ClFileMgr::GetAppFolderPath\n");
    CBridgeApp app;
    BOOL completed = TRUE;
    EXPECT_NO_THROW(completed = app.InitInstance());
    EXPECT_FALSE(completed);
    EXPECT_EQ(app.m_nResult, kRunFailed);
    app.ExitInstance();

    const Calls calls = company.CallNames();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "ClFileMgr::GetAppFolderPath"), calls.end());
    EXPECT_EQ(std::find(calls.begin(), calls.end(), "ClRuleKamoku::MoveReady"), calls.end()) << "nothing summed";
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[calls.size() - 4], "ClFileMgr::GetAppFolderPath");
}

// Presses Execute on the active window of this thread, the condition dialog once it is shown.
void CALLBACK PressExecute(HWND, UINT, UINT_PTR, DWORD)
{
    const HWND dialog = GetActiveWindow();
    const LPARAM button = reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_EXECUTE));
    if (button != 0) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_EXECUTE, BN_CLICKED), button);
}

// A progress window that cannot be made (the session may have no window handles left) fails the
// run before anything is summed, said over the host window: the run would otherwise go on
// unseen and say how it ended over no window.
TEST(DialogResultRun, AProgressWindowThatCannotBeMadeFailsTheRunWithNothingSummed)
{
    ServedTestCompany company;
    HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                nullptr);
    std::string statement;
    ASSERT_TRUE(Cp932FromWide(company.folder.Path() + L"\\statement.xml", statement));
    const std::string commandLine = std::to_string(reinterpret_cast<intptr_t>(host)) + ",32771,7," + statement;
    SetDialogCreationResponder([](UINT templateId) { return templateId != IDD_PROGRESS; });
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, PressExecute);
    CBridgeApp app;
    app.m_lpCmdLine = commandLine.c_str();
    const std::vector<MessageBoxCall> shown = RunRefused(app);
    KillTimer(nullptr, timer);
    SetDialogCreationResponder(nullptr);

    EXPECT_EQ(app.m_nResult, kRunFailed);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。");
    EXPECT_EQ(shown[0].owner, host);
    EXPECT_EQ(company.CallCount("ClRuleKamoku::MoveReady"), 0) << "nothing summed";
    DestroyWindow(host);
}

// A period of more than twelve months is refused before the dialog: its figures could not be
// summed into the twelve month slots. The dialog would fail at once here, without the message.
TEST(DialogResultRun, APeriodLongerThanAYearIsRefusedBeforeTheDialog)
{
    ServedTestCompany company;
    company.ReplaceHostLine("PeriodEnd = 20030331", "PeriodEnd = 20030430");
    company.Faults("Throw = ClFileMgr::GetAppFolderPath\n");
    CBridgeApp app;
    const std::vector<MessageBoxCall> shown = RunRefused(app);

    EXPECT_EQ(app.m_nResult, kRunFailed);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "会計期間（2002/04/01～2003/04/30）の科目内訳書は出力できません。\n\nアプリケーションを終了します。");
    EXPECT_EQ(shown[0].caption, "科目内訳書");
    EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(company.CallCount("ClFileMgr::GetAppFolderPath"), 0) << "no dialog";
}

// The host starts us again for a window whose run is still going on: this start says so and
// ends as cancelled; the window stays as the running one left it (disabled) and is only told.
TEST(DialogResultRun, ASecondStartForAHeldHostWindowLeavesItToItsRun)
{
    ServedTestCompany company;
    company.Faults("Throw = ClFileMgr::GetAppFolderPath\n");  // a dialog would fail at once
    HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(host, nullptr);
    EnableWindow(host, FALSE);
    HostWindowClaim running;
    ASSERT_TRUE(running.Claim(host));
    const std::string commandLine = std::to_string(reinterpret_cast<intptr_t>(host)) + ",32771,7,";
    CBridgeApp app;
    app.m_lpCmdLine = commandLine.c_str();
    const std::vector<MessageBoxCall> shown = RunRefused(app);

    EXPECT_EQ(app.m_nResult, kRunCancelled);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "このウィンドウからの科目内訳書の出力はすでに実行中です。");
    EXPECT_EQ(shown[0].owner, nullptr) << "no disabled window owns it";
    EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_FALSE(IsWindowEnabled(host)) << "left to the run that holds it";
    MSG posted{};
    ASSERT_TRUE(PeekMessageW(&posted, host, 32771, 32771, PM_REMOVE));
    EXPECT_EQ(posted.wParam, 7u);
    EXPECT_EQ(posted.lParam, kRunCancelled);
    EXPECT_EQ(company.CallCount("ClAccConnect::ExpSysLink"), 0) << "nothing of the run";
    EXPECT_EQ(company.CallCount("ClAccConnect::Release"), 1);
    DestroyWindow(host);
}

}  // namespace
