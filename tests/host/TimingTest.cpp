// The [timing] section that slows chosen host calls, so that a run's progress can be seen and
// a run can be made to last.

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>

#include "host/HostLibrary.h"
#include "host/standin/HostData.h"
#include "tests/host/HostTestFolder.h"

namespace {

TEST(Timing, DelaysAreReadPerCallAndBounded)
{
    HostTestFolder folder;
    const std::string ini = ReadFileBytes(folder.Path() + L"\\host.ini");
    standin::HostData data;
    ASSERT_EQ(folder.Load(data), "");
    EXPECT_TRUE(data.timing.delayMsByCall.empty());

    folder.Write(L"host.ini", ini + "[timing]\nMoveNext = 250\nClSetKamoku::WalkFind = 7\n");
    ASSERT_EQ(folder.Load(data), "");
    const std::map<std::string, long> expected = {{"ClRuleKamoku::MoveNext", 250}, {"ClSetKamoku::WalkFind", 7}};
    EXPECT_EQ(data.timing.delayMsByCall, expected) << "MoveNext is the rule's";

    const struct {
        const char* line;
        const char* named;
    } refused[] = {
        {"MoveNext = -1", "MoveNext"},
        {"MoveNext = 60001", "MoveNext"},
        {"MoveNext = soon", "MoveNext"},
        {"ClRuleKamoku::MoveNext = 60001", "ClRuleKamoku::MoveNext"},
        {"Walk = 5", "unknown key Walk"},
        {"::MoveNext = 5", "unknown key ::MoveNext"},
        {"ClRuleKamoku:: = 5", "unknown key ClRuleKamoku::"},
    };
    for (const auto& c : refused) {
        folder.Write(L"host.ini", ini + "[timing]\n" + c.line + "\n");
        EXPECT_NE(folder.Load().find(c.named), std::string::npos) << c.line;
    }
}

// The named call takes its time, with no call log written; other calls do not.
TEST(Timing, NamedCallTakesItsTime)
{
    HostTestFolder folder;
    folder.Write(L"host.ini",
                 ReadFileBytes(folder.Path() + L"\\host.ini") + "[timing]\nClSysUser::GetCurUserID = 300\n");
    ServeHostFolder(folder.Path());
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    ASSERT_NE(user, nullptr);
    char userId[65] = {};
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(user->GetCurUserID(userId), 0);
    EXPECT_GE(GetTickCount64() - start, 280u) << "the named call";
    long no1 = 0;
    long no2 = 0;
    start = GetTickCount64();
    EXPECT_EQ(user->GetSelectedNo(userId, &no1, &no2), 0);
    EXPECT_LT(GetTickCount64() - start, 280u) << "another call";
    ServeHostFolder(L"");
}

}  // namespace
