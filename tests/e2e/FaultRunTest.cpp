// Runs started by the host in which a host call throws: the exception fails the stage it
// ends (said over the progress window once that is up), the host hears how the run ended,
// no window of the run is left while it tells the host, and the connection is still closed
// in order.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/BridgeWindows.h"
#include "tests/e2e/CompanyFolder.h"
#include "tests/e2e/HostWindow.h"
#include "tests/e2e/WindowDriver.h"

namespace {

const DWORD kTimeoutMs = 20000;
const UINT kNotifyMessage = 32771;

using Calls = std::vector<std::string>;

bool IsProgressWindow(HWND dialog)
{
    const std::wstring progress = kProgressCaption;
    return CaptionText(dialog).compare(0, progress.size(), progress) == 0;
}

bool ShowsProgressWindow(DWORD pid)
{
    for (HWND dialog : VisibleDialogs(pid)) {
        if (IsProgressWindow(dialog)) return true;
    }
    return false;
}

// The captions of the dialogs the process shows from now until it ends, looked at every few
// milliseconds while it runs (the host window's messages handled meanwhile). The progress
// window the last message was said over goes as the run ends, and a loaded machine may show
// it a moment longer: only other dialogs count.
std::vector<std::wstring> CaptionsUntilExit(BridgeProcess& process, DWORD* status)
{
    std::vector<std::wstring> captions;
    const ULONGLONG deadline = GetTickCount64() + kTimeoutMs;
    while (!process.WaitForExit(20, status) && GetTickCount64() < deadline) {
        for (HWND dialog : VisibleDialogs(process.Id())) {
            if (!IsProgressWindow(dialog)) captions.push_back(CaptionText(dialog));
        }
    }
    return captions;
}

struct ThrowCase {
    const char* thrown;      // the [faults] Throw value
    const wchar_t* message;  // the run's last message; null: no dialog at all
    LPARAM result;
    Calls undone;            // what the run gives back after the throw, before the closing calls
};

TEST(FaultRunTest, ThrowingHostCallEndsItsStageAndTheHostHearsHowTheRunEnded)
{
    const ThrowCase cases[] = {
        {"ClSysUser::GetCurUserID", nullptr, 2, {}},
        {"ClRuleKamoku::MoveNext", L"残高の集計に失敗しました。\n\nアプリケーションを終了します。", 2,
         {"ClRuleKamoku::delete"}},
        // The third folder asked for is the settings folder of the write after the export.
        {"ClFileMgr::GetAppFolderPath 3", L"科目内訳書情報の出力が終了しました。\n\nアプリケーションを終了します。", 0,
         {}},
        // The fourth period calendar is the summation conditions' (the period check asked once,
        // the dialog twice).
        {"ClAccPeriod::SetPeriod 4", L"残高の集計に失敗しました。\n\nアプリケーションを終了します。", 2,
         {"ClAccPeriod::delete"}},
    };
    for (const ThrowCase& each : cases) {
        SCOPED_TRACE(each.thrown);
        CompanyFolder company;
        company.SetHostValue("faults", "Throw", each.thrown);
        HostWindow host;
        ShowWindow(host.Handle(), SW_SHOWNORMAL);  // as the host product's window is, while the run goes on
        BridgeProcess process;
        ASSERT_TRUE(company.Start(process, L"QuorlinA.exe", std::to_wstring(host.HandleNumber()) + L",32771,7,"));
        const std::wstring output = company.OutputFolder() + L"\\statement.xml";
        if (each.message != nullptr) {
            HWND dialog = WaitForDialog(process.Id(), kConditionCaption, kTimeoutMs);
            ASSERT_NE(dialog, nullptr);
            SetControlText(dialog, IDC_OUTPUT_PATH, output);
            ClickButton(dialog, IDC_EXECUTE);
            HWND box = WaitForDialog(process.Id(), kMessageCaption, kTimeoutMs);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(MessageBoxText(box), each.message);
            if (each.result != 0) {
                EXPECT_TRUE(ShowsProgressWindow(process.Id())) << "said over the progress window";
            }
            ClickButton(box, IDOK);
            EXPECT_TRUE(WaitUntilGone(box, kTimeoutMs)) << "the answered message goes";
        }

        DWORD status = 12345;
        EXPECT_EQ(CaptionsUntilExit(process, &status), std::vector<std::wstring>{}) << "windows left to the end";
        EXPECT_EQ(status, 0u);
        ASSERT_EQ(host.PostedMessages().size(), 1u);
        EXPECT_EQ(host.PostedMessages()[0].message, kNotifyMessage);
        EXPECT_EQ(host.PostedMessages()[0].wParam, 7u);
        EXPECT_EQ(host.PostedMessages()[0].lParam, each.result);
        EXPECT_TRUE(host.IsEnabled());
        EXPECT_EQ(GetFileAttributesW(output.c_str()) != INVALID_FILE_ATTRIBUTES, each.result == 0);

        const std::string call = std::string(each.thrown).substr(0, std::string(each.thrown).find(' '));
        const Calls lines = company.CallLines();
        const auto thrown = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.rfind(call, 0) == 0 && line.find("!! throws") != std::string::npos;
        });
        ASSERT_NE(thrown, lines.end());
        Calls after;
        for (auto line = thrown + 1; line != lines.end(); ++line) after.push_back(line->substr(0, line->find(' ')));
        Calls expected = each.undone;
        expected.insert(expected.end(), {"ClAccConnect::LogOut", "ClAccConnect::Terminate", "ClAccConnect::Release"});
        EXPECT_EQ(after, expected);
    }
}

}  // namespace
