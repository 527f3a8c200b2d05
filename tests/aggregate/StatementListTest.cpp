#include <gtest/gtest.h>

#include <vector>

#include "aggregate/StatementList.h"

namespace {

TEST(StatementList, StartsEmpty)
{
    StatementList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.begin(), list.end());
}

TEST(StatementList, KeepsTheOrderOfAppending)
{
    StatementEntry account{1110000, "現金", 1, 500};
    StatementEntry sub{1110001, "小口", 0, 200};
    StatementEntry other{1120000, "預金", 0, 300};
    StatementList list;
    list.Append(&account);
    list.Append(&sub);
    list.Append(&other);

    std::vector<StatementEntry*> seen;
    for (StatementEntry* entry : list)
        seen.push_back(entry);
    EXPECT_EQ(seen, (std::vector<StatementEntry*>{&account, &sub, &other}));
    EXPECT_EQ(list.GetCount(), 3u);
    EXPECT_FALSE(list.IsEmpty());

    const StatementList& view = list;
    EXPECT_EQ(*view.begin(), &account);
}

TEST(StatementList, OwnerCanFreeRowsAndClearReferencesInOnePass)
{
    StatementList list;
    list.Append(new StatementEntry{1110000, "現金", 0, 1});
    list.Append(new StatementEntry{1120000, "預金", 0, 2});
    for (StatementEntry*& entry : list) {
        delete entry;
        entry = nullptr;
    }
    for (StatementEntry* entry : list)
        EXPECT_EQ(entry, nullptr);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
}

TEST(StatementList, RemoveAllLeavesTheRowsUntouched)
{
    StatementEntry entry{1110001, "小口現金", 0, -12345};
    StatementList list;
    list.Append(&entry);
    list.Append(&entry);
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.begin(), list.end());
    EXPECT_EQ(entry.code, 1110001);
    EXPECT_STREQ(entry.name, "小口現金");
    EXPECT_EQ(entry.balance, -12345);
    list.Append(&entry);  // usable again after emptying
    EXPECT_EQ(list.GetCount(), 1u);
}

}  // namespace
