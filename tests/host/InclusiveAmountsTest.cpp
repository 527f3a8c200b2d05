// A rows table need not repeat the tax-exclusive totals as tax-inclusive ones: an absent or
// empty inclusive column hands over the exclusive amounts.

#include <gtest/gtest.h>

#include <string>

#include "host/standin/HostData.h"
#include "tests/host/HostTestFolder.h"

namespace {

class InclusiveAmounts : public ::testing::Test {
protected:
    HostTestFolder folder;
    standin::HostData data;

    // Loads a rows table of these amount columns with one row of cash: "" or the refusal.
    std::string LoadCash(const std::string& columns, const std::string& amounts)
    {
        folder.Write(L"rows.csv", "code,name,has_sub,balance_side," + columns + "\n1110000," + U8(u8"現金") +
                                      ",0,1," + amounts + "\n");
        data = standin::HostData();
        return folder.Load(data);
    }
    const StKAMOKUSUMINFO& Cash() const { return data.companies.at(0).rows.at(0); }
};

TEST_F(InclusiveAmounts, AbsentColumnsRepeatTheExclusiveAmounts)
{
    ASSERT_EQ(LoadCash("debit_excl,credit_excl", "100 1.5,0 0 7"), "");
    const StKAMOKUSUMINFO& row = Cash();
    EXPECT_EQ(row.debitIncl[0], 1000000);
    EXPECT_EQ(row.debitIncl[1], 15000);
    EXPECT_EQ(row.creditIncl[2], 70000);
    for (int slot = 0; slot < 15; ++slot) {
        EXPECT_EQ(row.debitIncl[slot], row.debitExcl[slot]) << slot;
        EXPECT_EQ(row.creditIncl[slot], row.creditExcl[slot]) << slot;
    }
}

TEST_F(InclusiveAmounts, GivenColumnsKeepTheirOwnAmounts)
{
    const std::string columns = "debit_excl,debit_incl,credit_excl,credit_incl";
    ASSERT_EQ(LoadCash(columns, "100,110,5,"), "");
    EXPECT_EQ(Cash().debitIncl[0], 1100000);
    EXPECT_EQ(Cash().creditIncl[0], 50000);  // an empty field too takes the exclusive amounts
    // Written zero, they stay zero.
    ASSERT_EQ(LoadCash(columns, "100,0,5,0"), "");
    EXPECT_EQ(Cash().debitIncl[0], 0);
    EXPECT_EQ(Cash().creditIncl[0], 0);
    // A bad inclusive amount is still refused.
    EXPECT_EQ(LoadCash("debit_excl,credit_excl,credit_incl", "100,5,x"),
              "rows.csv line 2: credit_incl slot 0 \"x\": amount is not a number");
}

}  // namespace
