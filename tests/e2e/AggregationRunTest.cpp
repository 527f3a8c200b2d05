// Whole runs through the aggregation: the sample company's rows summed with the conditions of
// the chosen months, and a failed aggregation ending the run before any file is written.

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
const wchar_t kAggregationFailed[] = L"残高の集計に失敗しました。\n\nアプリケーションを終了します。";

using Lines = std::vector<std::string>;

// The number after `marker` in each line that starts with `call` and holds it.
std::vector<long> NumbersAfter(const Lines& lines, const std::string& call, const std::string& marker)
{
    std::vector<long> numbers;
    for (const std::string& line : lines) {
        const size_t at = line.find(marker);
        if (line.rfind(call + " ", 0) == 0 && at != std::string::npos) {
            numbers.push_back(std::stol(line.substr(at + marker.size())));
        }
    }
    return numbers;
}

// Starts the shipped edition, chooses March as the last month (the range starts at the
// period's first month, April, which the user cannot change) and an output file, presses
// Execute and returns the first message box.
HWND ExecuteAprilToMarch(CompanyFolder& company, BridgeProcess& process, const std::wstring& output)
{
    EXPECT_TRUE(company.Start(process, L"QuorlinA.exe"));
    HWND dialog = WaitForDialog(process.Id(), kConditionCaption, kTimeoutMs);
    if (dialog == nullptr) return nullptr;
    EXPECT_EQ(ControlText(dialog, IDC_FROM_MONTH), L"4");
    SetControlText(dialog, IDC_TO_MONTH, L"3");
    SetControlText(dialog, IDC_OUTPUT_PATH, output);
    ClickButton(dialog, IDC_EXECUTE);
    HWND box = WaitForDialog(process.Id(), kMessageCaption, kTimeoutMs);
    // Execute asks before it overwrites an earlier statement.
    if (box != nullptr && MessageBoxText(box) == L"同名のファイルが存在します。\n\n上書きしてもよろしいですか？") {
        ClickButton(box, IDYES);
        EXPECT_TRUE(WaitUntilGone(box, kTimeoutMs));
        box = WaitForDialog(process.Id(), kMessageCaption, kTimeoutMs);
    }
    return box;
}

void CloseAndWait(BridgeProcess& process, HWND box)
{
    ClickButton(box, IDOK);
    DWORD status = 12345;
    EXPECT_TRUE(process.WaitForExit(kTimeoutMs, &status)) << "the run did not end";
    EXPECT_EQ(status, 0u);
}

TEST(AggregationRun, SampleRowsAreSummedForTheChosenMonths)
{
    CompanyFolder company;
    BridgeProcess process;
    const std::wstring output = company.OutputFolder() + L"\\statement.xml";
    HWND box = ExecuteAprilToMarch(company, process, output);
    ASSERT_NE(box, nullptr);
    CloseAndWait(process, box);
    EXPECT_TRUE(KeepXmlForCheck(output, L"e2e-sample-company.xml"));

    const Lines lines = company.CallLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "ClRuleKamoku::MoveReady 1 0 0 [17 4 2 1 1][17 6 2 12 2][17 1 2 18 0] -> 0"),
              lines.end());
    // The rows flagged out by their bytes or attribute bits cost no lookup; every other row
    // is looked up once, in the order delivered.
    std::vector<long> expected = NumbersAfter(lines, "ClRuleKamoku::MoveNext", "-> 0 ");
    ASSERT_EQ(expected.size(), 13u);
    expected.erase(std::remove_if(expected.begin(), expected.end(),
                                  [](long code) { return code == 1910000 || code == 9990000; }),
                   expected.end());
    EXPECT_EQ(NumbersAfter(lines, "ClSetKamoku::WalkFind", "[2 1 3 "), expected);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ClRuleKamoku::MoveFinish"), lines.end());
}

// Each way the aggregation can fail: the host refusing its count, a row it cannot deliver,
// and a balance beyond the money limit.
TEST(AggregationRun, FailedAggregationWritesNoFileAndSaysSoOverTheProgressWindow)
{
    struct Case {
        const char* key;
        const char* value;
    } cases[] = {{"GetSumCount", "-1"}, {"MoveNext", "3 -1"}, {nullptr, nullptr}};
    for (const Case& each : cases) {
        CompanyFolder company;
        if (each.key != nullptr) {
            company.SetHostValue("faults", each.key, each.value);
        } else {
            const std::wstring rows = company.DataFolder() + L"\\rows.csv";
            WriteFileBytes(rows, ReadFileBytes(rows) + "1110000,x,0,0,0,1,0,99999999999999.9999 1,,,\n");
        }
        const std::wstring output = company.OutputFolder() + L"\\statement.xml";
        ASSERT_TRUE(WriteFileBytes(output, "earlier statement"));
        BridgeProcess process;
        HWND box = ExecuteAprilToMarch(company, process, output);
        ASSERT_NE(box, nullptr) << (each.key ? each.key : "overflow");
        EXPECT_EQ(MessageBoxText(box), kAggregationFailed);
        HWND progress = GetWindow(box, GW_OWNER);
        EXPECT_NE(progress, nullptr) << "owned by the progress window";
        EXPECT_TRUE(IsWindowVisible(progress)) << "which is still on screen";
        CloseAndWait(process, box);

        EXPECT_EQ(ReadFileBytes(output), "earlier statement");
        const Lines lines = company.CallLines();
        EXPECT_EQ(std::find(lines.begin(), lines.end(), "ClRuleKamoku::MoveFinish"), lines.end());
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines.back(), "ClAccConnect::Release");
    }
}

}  // namespace
