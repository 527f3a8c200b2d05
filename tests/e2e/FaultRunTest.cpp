// Runs in which a host call throws: the exception ends the run as failed at one place, every
// window of the run is gone, and the connection is still closed in order.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/BridgeWindows.h"
#include "tests/e2e/CompanyFolder.h"
#include "tests/e2e/WindowDriver.h"

namespace {

const DWORD kTimeoutMs = 20000;

using Calls = std::vector<std::string>;

TEST(FaultRunTest, ThrowingHostCallEndsTheRunAndStillLogsOut)
{
    CompanyFolder company;
    company.SetHostValue("faults", "Throw", "ClSysUser::GetCurUserID");
    BridgeProcess process;
    ASSERT_TRUE(company.Start(process, L"QuorlinA.exe"));

    DWORD status = 12345;
    ASSERT_TRUE(process.WaitForExit(kTimeoutMs, &status)) << "the run did not end";
    EXPECT_EQ(status, 0u);
    EXPECT_TRUE(ShowsNoDialog(process.Id(), kConditionCaption));
    EXPECT_TRUE(ShowsNoDialog(process.Id(), kMessageCaption));

    // Nothing after the throwing call but the closing calls, in their order.
    const Calls lines = company.CallLines();
    const auto thrown = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("ClSysUser::GetCurUserID", 0) == 0;
    });
    ASSERT_NE(thrown, lines.end());
    EXPECT_NE(thrown->find("!! throws"), std::string::npos) << *thrown;
    const Calls after(thrown + 1, lines.end());
    const Calls closing = {"ClAccConnect::LogOut", "ClAccConnect::Terminate", "ClAccConnect::Release"};
    EXPECT_EQ(after, closing);
}

}  // namespace
