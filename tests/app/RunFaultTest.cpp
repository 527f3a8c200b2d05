// A run in which a host call throws: the exception ends at the top of the run, the result is
// "failed", and ExitInstance still closes the connection in order.

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
    for (const char* call : {"ClSetData::WalkDat", "ClSysUser::GetCurUserID"}) {
        ServedTestCompany company;
        company.Faults(std::string("Throw = ") + call + "\n");
        CBridgeApp app;
        BOOL completed = TRUE;
        EXPECT_NO_THROW(completed = app.InitInstance()) << call;
        EXPECT_FALSE(completed) << call;
        EXPECT_EQ(app.m_nResult, kRunFailed) << call;
        app.ExitInstance();

        const Calls calls = company.CallNames();
        ASSERT_GE(calls.size(), 4u) << call;
        EXPECT_EQ(calls[calls.size() - 4], call) << "nothing of the run after the call that threw";
        EXPECT_EQ(Calls(calls.end() - 3, calls.end()),
                  (Calls{"ClAccConnect::LogOut", "ClAccConnect::Terminate", "ClAccConnect::Release"}))
            << call;
    }
}

}  // namespace
