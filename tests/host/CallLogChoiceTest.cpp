// The call log is chosen when the data is loaded; without a log no line is written, but a
// call that [faults] names still throws.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/TestSeams.h"
#include "host/HostLibrary.h"
#include "host/standin/CallLog.h"
#include "tests/host/HostTestFolder.h"

namespace {

class CallLogChoice : public ::testing::Test {
protected:
    void TearDown() override
    {
        ClAccConnect::Inst()->Release();
        ServeHostFolder(L"");
    }

    std::string Log() const { return ReadFileBytes(logPath); }

    long UserCalls() const
    {
        char userId[65] = {};
        return ClDataMgr::Inst()->GetSysUserObject()->GetCurUserID(userId);
    }

    HostTestFolder folder;
    const std::wstring logPath = folder.Path() + L"\\calls.log";
};

TEST_F(CallLogChoice, EachServedFolderWritesToTheLogNamedWithIt)
{
    ServeHostFolder(folder.Path());
    EXPECT_EQ(UserCalls(), 0);
    EXPECT_EQ(GetFileAttributesW(logPath.c_str()), INVALID_FILE_ATTRIBUTES);

    ServeHostFolder(folder.Path(), logPath);
    EXPECT_EQ(UserCalls(), 0);
    const std::string logged = Log();
    EXPECT_NE(logged.find("ClSysUser::GetCurUserID -> 0 suzuki\n"), std::string::npos) << logged;

    ServeHostFolder(folder.Path());
    EXPECT_EQ(UserCalls(), 0);
    EXPECT_EQ(Log(), logged);   // nothing added once the log is no longer named
}

TEST_F(CallLogChoice, NamedCallThrowsWithoutALog)
{
    folder.Write(L"host.ini", ReadFileBytes(folder.Path() + L"\\host.ini") + "[faults]\nThrow = ClSysUser::GetCurUserID\n");
    ServeHostFolder(folder.Path());
    EXPECT_THROW(UserCalls(), standin::HostCallThrew);
    long no1 = 0;
    long no2 = 0;
    EXPECT_EQ(ClDataMgr::Inst()->GetSysUserObject()->GetSelectedNo("suzuki", &no1, &no2), 0);
    EXPECT_EQ(GetFileAttributesW(logPath.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
