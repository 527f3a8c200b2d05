// A rows table need not repeat the tax-exclusive totals as tax-inclusive ones: an absent or
// empty inclusive column hands over the exclusive amounts.

#include <gtest/gtest.h>

#include "host/standin/HostData.h"
#include "tests/host/HostTestFolder.h"

namespace {

const StKAMOKUSUMINFO& FirstRow(const standin::HostData& data)
{
    return data.companies.at(0).rows.at(0);
}

TEST(InclusiveAmounts, AbsentColumnsRepeatTheExclusiveAmounts)
{
    HostTestFolder folder;
    folder.Write(L"rows.csv", U8(u8"code,name,has_sub,balance_side,debit_excl,credit_excl\n"
                                 u8"1110000,現金,0,1,100 1.5,0 0 7\n"));
    standin::HostData data;
    ASSERT_EQ(folder.Load(data), "");
    const StKAMOKUSUMINFO& row = FirstRow(data);
    EXPECT_EQ(row.debitIncl[0], 1000000);
    EXPECT_EQ(row.debitIncl[1], 15000);
    EXPECT_EQ(row.creditIncl[2], 70000);
    for (int slot = 0; slot < 15; ++slot) {
        EXPECT_EQ(row.debitIncl[slot], row.debitExcl[slot]) << slot;
        EXPECT_EQ(row.creditIncl[slot], row.creditExcl[slot]) << slot;
    }
}

TEST(InclusiveAmounts, GivenColumnsKeepTheirOwnAmounts)
{
    HostTestFolder folder;
    folder.Write(L"rows.csv", U8(u8"code,name,has_sub,balance_side,debit_excl,debit_incl,credit_excl,credit_incl\n"
                                 u8"1110000,現金,0,1,100,110,5,\n"));
    standin::HostData data;
    ASSERT_EQ(folder.Load(data), "");
    const StKAMOKUSUMINFO& row = FirstRow(data);
    EXPECT_EQ(row.debitIncl[0], 1100000);
    EXPECT_EQ(row.creditIncl[0], 50000);   // an empty field too takes the exclusive amounts
    // Written zero, they stay zero.
    folder.Write(L"rows.csv", U8(u8"code,name,has_sub,balance_side,debit_excl,debit_incl,credit_excl,credit_incl\n"
                                 u8"1110000,現金,0,1,100,0,5,0\n"));
    standin::HostData zero;
    ASSERT_EQ(folder.Load(zero), "");
    EXPECT_EQ(FirstRow(zero).debitIncl[0], 0);
    EXPECT_EQ(FirstRow(zero).creditIncl[0], 0);
    // A bad inclusive amount is still refused.
    folder.Write(L"rows.csv", U8(u8"code,name,has_sub,balance_side,debit_excl,credit_excl,credit_incl\n"
                                 u8"1110000,現金,0,1,100,5,x\n"));
    standin::HostData bad;
    EXPECT_EQ(folder.Load(bad), "rows.csv line 2: credit_incl slot 0 \"x\": amount is not a number");
}

}  // namespace
