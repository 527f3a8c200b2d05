// [faults] Throw: the named host call does its work, is logged, and throws instead of
// returning, so that a run can be shown to survive an exception from the host.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/TestSeams.h"
#include "host/HostLibrary.h"
#include "host/standin/CallLog.h"
#include "tests/host/HostTestFolder.h"

namespace {

class ThrowFault : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMessageBoxResponder([this](const MessageBoxCall& call) {
            refusals += call.text;
            return IDOK;
        });
    }

    void TearDown() override
    {
        ClAccConnect::Inst()->Release();
        ServeHostFolder(L"");
        SetMessageBoxResponder(nullptr);
    }

    void ServeWithFaults(const std::string& lines)
    {
        folder.Write(L"host.ini", ReadFileBytes(folder.Path() + L"\\host.ini") + "[faults]\n" + lines);
        ServeHostFolder(folder.Path(), folder.Path() + L"\\calls.log");
    }

    HostTestFolder folder;
    std::string refusals;
};

TEST_F(ThrowFault, NamedCallThrowsAfterItIsLogged)
{
    ServeWithFaults("Throw = ClSysUser::GetCurUserID\n");
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();   // other calls go on as ever
    ASSERT_NE(user, nullptr);
    char userId[65] = {};
    EXPECT_THROW(user->GetCurUserID(userId), standin::HostCallThrew);
    EXPECT_STREQ(userId, "suzuki");   // the call did its work before it threw
    const std::string log = ReadFileBytes(folder.Path() + L"\\calls.log");
    EXPECT_NE(log.find("ClSysUser::GetCurUserID -> 0 suzuki !! throws\n"), std::string::npos) << log;
    long no1 = 0;
    long no2 = 0;
    EXPECT_EQ(user->GetSelectedNo("suzuki", &no1, &no2), 0);
    EXPECT_TRUE(refusals.empty()) << refusals;
}

TEST_F(ThrowFault, WithANumberOnlyThatCallOfTheNameThrows)
{
    ServeWithFaults("Throw = ClSysUser::GetCurUserID 2\n");
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    char userId[65] = {};
    EXPECT_EQ(user->GetCurUserID(userId), 0);
    EXPECT_THROW(user->GetCurUserID(userId), standin::HostCallThrew);
    EXPECT_EQ(user->GetCurUserID(userId), 0);
}

TEST_F(ThrowFault, OnlyHostCallsCanBeNamed)
{
    for (const char* value : {"GetCurUserID", "ClRuleKamoku::new", "ClAccPeriod::delete", "::X", "ClX::",
                              "ClX::Y 0", "ClX::Y two"}) {
        const HostTestFolder fresh;
        fresh.Write(L"host.ini", ReadFileBytes(fresh.Path() + L"\\host.ini") + "[faults]\nThrow = " + value + "\n");
        const std::string refusal = fresh.Load();
        EXPECT_NE(refusal.find("Throw must name a host call as Class::Operation"), std::string::npos)
            << value << ": " << refusal;
    }
}

}  // namespace
