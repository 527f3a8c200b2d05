// A run in which a host call throws: the exception ends at the top of the run, the result is
// "failed", what the run holds of the host is given back, and ExitInstance still closes the
// connection in order.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/BridgeApp.h"
#include "host/HostLibrary.h"
#include "tests/host/ServedTestCompany.h"

namespace {

using Calls = std::vector<std::string>;

TEST(RunFault, ThrowingHostCallFailsTheRunAndExitStillLogsOut)
{
    struct Case {
        const char* call;
        Calls undone;  // what the run gives back after the throw, before the closing calls
    };
    for (const auto& [call, undone] : {Case{"ClSetData::WalkDat", {"ClSetData::ReleaseDatCursor"}},
                                       Case{"ClSysUser::GetCurUserID", {}}}) {
        ServedTestCompany company;
        company.Faults(std::string("Throw = ") + call + "\n");
        CBridgeApp app;
        BOOL completed = TRUE;
        EXPECT_NO_THROW(completed = app.InitInstance()) << call;
        EXPECT_FALSE(completed) << call;
        EXPECT_EQ(app.m_nResult, kRunFailed) << call;
        app.ExitInstance();

        Calls after = undone;
        after.insert(after.end(), {"ClAccConnect::LogOut", "ClAccConnect::Terminate", "ClAccConnect::Release"});
        const Calls calls = company.CallNames();
        ASSERT_GT(calls.size(), after.size()) << call;
        EXPECT_EQ(calls[calls.size() - after.size() - 1], call) << "nothing of the run after the call that threw";
        EXPECT_EQ(Calls(calls.end() - after.size(), calls.end()), after) << call;
    }
}

}  // namespace
