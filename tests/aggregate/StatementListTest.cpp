#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "aggregate/StatementList.h"

namespace {

std::unique_ptr<StatementEntry> Entry(int32_t code, int64_t balance)
{
    return std::unique_ptr<StatementEntry>(new StatementEntry{code, "", 0, balance});
}

TEST(StatementList, StartsEmpty)
{
    StatementList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.begin(), list.end());
}

TEST(StatementList, KeepsTheOrderOfAppending)
{
    StatementList list;
    EXPECT_TRUE(list.Append(Entry(1110000, 500)));
    EXPECT_TRUE(list.Append(Entry(1110001, 200)));
    EXPECT_TRUE(list.Append(Entry(1120000, 300)));

    std::vector<int32_t> codes;
    for (const auto& entry : list)
        codes.push_back(entry->code);
    EXPECT_EQ(codes, (std::vector<int32_t>{1110000, 1110001, 1120000}));
    EXPECT_EQ(list.GetCount(), 3u);
    EXPECT_FALSE(list.IsEmpty());
}

// The list is the owner: emptying it frees the rows, and it can be filled again.
TEST(StatementList, RemoveAllFreesTheRowsAndEmptiesTheList)
{
    StatementList list;
    auto entry = Entry(1110001, -12345);
    StatementEntry* row = entry.get();
    list.Append(std::move(entry));
    EXPECT_EQ(list.begin()->get(), row);
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.begin(), list.end());
    list.Append(Entry(1110002, 1));
    EXPECT_EQ(list.GetCount(), 1u);
}

}  // namespace
