// Only the condition dialog's Execute lets a run go on: a dialog that fails (its start
// breaks off, so it ends with -1) makes the run a failed one with nothing exported.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/BridgeApp.h"
#include "tests/host/ServedTestCompany.h"

namespace {

using Calls = std::vector<std::string>;

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

}  // namespace
