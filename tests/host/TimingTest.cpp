// The [timing] section that slows chosen host calls, so that a run's progress can be seen and
// a run can be made to last (the scenario progress-answers-during-long-run shows the waiting).

#include <gtest/gtest.h>

#include <map>
#include <string>

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
        {"ClRuleKamoku::MoveNext = 60001", "ClRuleKamoku::MoveNext"},
        {"Walk = 5", "unknown key Walk"},
        {"ClRuleKamoku:: = 5", "unknown key ClRuleKamoku::"},
    };
    for (const auto& c : refused) {
        folder.Write(L"host.ini", ini + "[timing]\n" + c.line + "\n");
        EXPECT_NE(folder.Load().find(c.named), std::string::npos) << c.line;
    }
}

}  // namespace
