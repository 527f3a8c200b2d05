// Whole runs of the built editions against a copy of the sample company: how a run connects,
// in which order it calls the host, what it shows, and that it always ends with status 0.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/BridgeWindows.h"
#include "tests/e2e/CompanyFolder.h"
#include "tests/e2e/WindowDriver.h"

namespace {

const DWORD kTimeoutMs = 20000;

using Calls = std::vector<std::string>;

// The closing calls every run makes, whatever happened before.
const Calls kClosingCalls = {"ClAccConnect::LogOut", "ClAccConnect::Terminate", "ClAccConnect::Release"};

DWORD ExitStatus(BridgeProcess& process)
{
    DWORD status = 12345;
    EXPECT_TRUE(process.WaitForExit(kTimeoutMs, &status)) << "the run did not end";
    return status;
}

bool EndsWith(const Calls& calls, const Calls& tail)
{
    return calls.size() >= tail.size() && std::equal(tail.begin(), tail.end(), calls.end() - tail.size());
}

size_t IndexOf(const Calls& calls, const std::string& name)
{
    return static_cast<size_t>(std::find(calls.begin(), calls.end(), name) - calls.begin());
}

// Connection calls come first, in this order.
void ExpectConnectionOpening(const Calls& calls)
{
    const Calls opening = {"ClAccConnect::SetAppType", "ClAccConnect::SetUseDataType", "ClAccConnect::Initiate"};
    ASSERT_GE(calls.size(), opening.size());
    EXPECT_EQ(Calls(calls.begin(), calls.begin() + 3), opening);
}

TEST(ConnectionTest, FailedInitiateEndsSilentlyButStillClosesTheConnection)
{
    CompanyFolder company;
    company.SetHostValue("connection", "Initiate", "1");
    BridgeProcess process;
    ASSERT_TRUE(company.Start(process, L"QuorlinA.exe"));

    EXPECT_TRUE(ShowsNoDialog(process.Id(), kMessageCaption));
    EXPECT_EQ(ExitStatus(process), 0u);
    const Calls calls = company.CallNames();
    const Calls expected = {"ClAccConnect::SetAppType", "ClAccConnect::SetUseDataType", "ClAccConnect::Initiate",
                            "ClAccConnect::LogOut",     "ClAccConnect::Terminate",      "ClAccConnect::Release"};
    EXPECT_EQ(calls, expected);
    const Calls lines = company.CallLines();
    ASSERT_EQ(lines.size(), expected.size());
    EXPECT_EQ(lines[1], "ClAccConnect::SetUseDataType 1");
    EXPECT_NE(lines[2].find(reinterpret_cast<const char*>(u8"caption=科目内訳書")), std::string::npos) << lines[2];
    EXPECT_NE(lines[2].find("-> 1"), std::string::npos) << lines[2];
}

TEST(ConnectionTest, EachEditionConnectsWithItsAppType)
{
    const std::pair<const wchar_t*, const char*> editions[] = {
        {L"QuorlinA.exe", "ClAccConnect::SetAppType 0"},
        {L"QuorlinB.exe", "ClAccConnect::SetAppType 3"},
        {L"QuorlinC.exe", "ClAccConnect::SetAppType 4"},
    };
    for (const auto& [exe, appTypeLine] : editions) {
        CompanyFolder company;
        company.SetHostValue("connection", "Initiate", "1");
        BridgeProcess process;
        ASSERT_TRUE(company.Start(process, exe));
        EXPECT_EQ(ExitStatus(process), 0u);
        const Calls lines = company.CallLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), appTypeLine);
    }
}

TEST(ConnectionTest, HostRefusingTheLinkEndsTheRunBeforeTheDialog)
{
    for (const char* link : {"1", "5"}) {
        CompanyFolder company;
        company.SetHostValue("connection", "ExpSysLink", link);
        BridgeProcess process;
        ASSERT_TRUE(company.Start(process, L"QuorlinA.exe"));

        EXPECT_TRUE(ShowsNoDialog(process.Id(), kConditionCaption));
        EXPECT_EQ(ExitStatus(process), 0u);
        const Calls calls = company.CallNames();
        ExpectConnectionOpening(calls);
        EXPECT_EQ(IndexOf(calls, "ClAccConnect::ExpSysLink"), 3u);
        EXPECT_TRUE(EndsWith(calls, kClosingCalls));
        EXPECT_EQ(calls.size(), 7u);
    }
}

// The shipped edition and the test copy running under the UTF-8 code page must behave alike.
class DialogRunTest : public ::testing::TestWithParam<const wchar_t*> {
protected:
    CompanyFolder company;
    BridgeProcess process;

    HWND StartAndWaitForDialog()
    {
        EXPECT_TRUE(company.Start(process, GetParam()));
        return WaitForDialog(process.Id(), kConditionCaption, kTimeoutMs);
    }
};

TEST_P(DialogRunTest, CancelEndsTheRunAndClosesTheConnection)
{
    HWND dialog = StartAndWaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(dialog, IDC_TO_MONTH_LABEL), L"月度(&E)");
    EXPECT_EQ(ControlText(dialog, IDC_TAX_INCLUDED), L"税込みで集計する。(&Z)");
    ClickButton(dialog, IDC_CANCEL_BUTTON);
    HWND box = WaitForDialog(process.Id(), kMessageCaption, kTimeoutMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"｢科目内訳書｣の集計を中止します。");
    ClickButton(box, IDOK);

    EXPECT_EQ(ExitStatus(process), 0u);
    const Calls calls = company.CallNames();
    ExpectConnectionOpening(calls);
    EXPECT_LT(IndexOf(calls, "ClAccConnect::ExpSysLink"), calls.size());
    EXPECT_TRUE(EndsWith(calls, kClosingCalls));
}

TEST_P(DialogRunTest, ExecuteRunsToTheFinalMessageOverTheProgressWindow)
{
    HWND dialog = StartAndWaitForDialog();
    ASSERT_NE(dialog, nullptr);
    // The sample company's period; the wave dash is code page 932's.
    EXPECT_EQ(ControlText(dialog, IDC_PERIOD), L" 2024/04/01～2025/03/31");
    // The period runs from April to March: March is its last month.
    SetControlText(dialog, IDC_TO_MONTH, L"3");
    const std::wstring output = company.OutputFolder() + L"\\statement.xml";
    SetControlText(dialog, IDC_OUTPUT_PATH, output);
    ClickButton(dialog, IDC_EXECUTE);

    HWND box = WaitForDialog(process.Id(), kMessageCaption, kTimeoutMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"科目内訳書情報の出力が終了しました。\n\nアプリケーションを終了します。");
    // The statement is in place before the run says so.
    bool written = false;
    EXPECT_EQ(ReadFileBytes(output, &written).rfind("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<REPORT>\r\n", 0), 0u);
    EXPECT_TRUE(written);
    EXPECT_TRUE(KeepXmlForCheck(output, std::wstring(L"e2e-execute-") + GetParam() + L".xml"));
    ClickButton(box, IDOK);

    EXPECT_EQ(ExitStatus(process), 0u);
    const Calls calls = company.CallNames();
    ExpectConnectionOpening(calls);
    EXPECT_TRUE(EndsWith(calls, kClosingCalls));
}

INSTANTIATE_TEST_SUITE_P(Editions, DialogRunTest, ::testing::Values(L"QuorlinA.exe", L"QuorlinA-utf8.exe"),
                         [](const auto& info) {
                             return std::wstring(info.param) == L"QuorlinA.exe" ? std::string("Shipped")
                                                                                : std::string("Utf8CodePage");
                         });

}  // namespace
