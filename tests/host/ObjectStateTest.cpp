// The stand-in keeps each host object's state beside the object: two objects never share
// it, and an object made where an earlier one was starts afresh.

#include <gtest/gtest.h>

#include <memory>
#include <new>

#include "host/HostLibrary.h"
#include "tests/host/HostTestFolder.h"

namespace {

class ObjectState : public ::testing::Test {
protected:
    void SetUp() override { ServeHostFolder(folder.Path()); }
    void TearDown() override { ServeHostFolder(L""); }

    static std::unique_ptr<ClRuleKamoku> ReadyRule()
    {
        std::unique_ptr<ClRuleKamoku> rule(new (std::nothrow) ClRuleKamoku);
        EXPECT_EQ(rule->SetCurDataID("D12"), 0);
        EXPECT_EQ(rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), 0);
        return rule;
    }

    HostTestFolder folder;
};

TEST_F(ObjectState, RulesReadTheirRowsIndependently)
{
    std::unique_ptr<ClRuleKamoku> first = ReadyRule();
    std::unique_ptr<ClRuleKamoku> second = ReadyRule();
    StKAMOKUSUMINFO row{};
    ASSERT_EQ(first->MoveNext(&row), 0);
    ASSERT_EQ(first->MoveNext(&row), 0);
    const int32_t secondOfFirst = row.nCode;
    ASSERT_EQ(second->MoveNext(&row), 0);
    EXPECT_NE(row.nCode, secondOfFirst);   // the second rule starts at its own first row
    ASSERT_EQ(second->MoveNext(&row), 0);
    EXPECT_EQ(row.nCode, secondOfFirst);
}

TEST_F(ObjectState, NewObjectDoesNotInheritADeletedOnesState)
{
    for (int i = 0; i < 4; ++i) {   // the allocator hands the same place out again
        std::unique_ptr<ClRuleKamoku> fresh(new (std::nothrow) ClRuleKamoku);
        StKAMOKUSUMINFO row{};
        EXPECT_NE(fresh->MoveNext(&row), 0) << "a rule that was never made ready delivered a row";
        ASSERT_EQ(fresh->SetCurDataID("D12"), 0);
        ASSERT_EQ(fresh->MoveReady(1, 0, 0, nullptr, nullptr, 0), 0);
        ASSERT_EQ(fresh->MoveNext(&row), 0);

        ClAccPeriod calendar;
        short month = 0;
        ASSERT_EQ(calendar.GetAMonthByDate(20020425, &month, 0), 0);
        EXPECT_EQ(month, 4) << "closing day left over from an earlier calendar";
        ASSERT_EQ(calendar.SetClosingDay(20), 0);
    }
}

}  // namespace
