// The period's accounting months, from the stand-in host's period calendar.

#include <gtest/gtest.h>

#include <ostream>

#include "aggregate/PeriodMonths.h"
#include "tests/host/ServedTestCompany.h"

namespace {

struct Months {
    short first = 77;
    short last = 77;
    bool operator==(const Months&) const = default;
    friend void PrintTo(const Months& m, std::ostream* out) { *out << m.first << ".." << m.last; }
};

Months PeriodMonths(long start, long end)
{
    Months months;
    CalcPeriodMonths(start, end, &months.first, &months.last);
    return months;
}

TEST(PeriodMonths, YearEndCrossingAddsOneHundredToTheLastMonth)
{
    ServedTestCompany company;
    EXPECT_EQ(PeriodMonths(20020401, 20030331), (Months{4, 103})) << "April to March";
    EXPECT_EQ(PeriodMonths(20020111, 20021231), (Months{1, 12})) << "a calendar year";
    // Closing on the 20th: the 21st of April already belongs to the month that closes in May.
    EXPECT_EQ(PeriodMonths(20020421, 20030420), (Months{5, 104}));
}

TEST(PeriodMonths, EitherOutputMayBeLeftOut)
{
    ServedTestCompany company;
    short first = 0;
    short last = 0;
    CalcPeriodMonths(20020401, 20030331, &first, nullptr);
    CalcPeriodMonths(20020401, 20030331, nullptr, &last);
    CalcPeriodMonths(20020401, 20030331, nullptr, nullptr);
    EXPECT_EQ(first, 4);
    EXPECT_EQ(last, 103);
}

TEST(PeriodMonths, CalendarIsDeletedAfterItsLastCallAlsoWhenOneThrows)
{
    for (const char* thrown : {"", "ClAccPeriod::SetPeriod", "ClAccPeriod::GetAMonthByDate"}) {
        ServedTestCompany company;
        if (*thrown != '\0') {
            company.Faults(std::string("Throw = ") + thrown + "\n");
            EXPECT_ANY_THROW(PeriodMonths(20020401, 20030331)) << thrown;
        } else {
            PeriodMonths(20020401, 20030331);
        }
        const std::vector<std::string> calls = company.CallNames();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front(), "ClAccPeriod::new") << thrown;
        EXPECT_EQ(calls.back(), "ClAccPeriod::delete") << thrown;
    }
}

TEST(PeriodMonths, APeriodOfAtMostTwelveMonthsCanBeExported)
{
    struct Case {
        long start, end;
        bool exportable;
    } cases[] = {
        {20240401, 20250331, true},   {20020111, 20021231, true},  {20240229, 20250228, true},
        {20230301, 20240229, true},   {20240401, 20240401, true},  {0, 0, true},
        {20240401, 20250401, false},  {20240401, 20250430, false}, {20240229, 20250301, false},
        {20240401, 20240331, false},  {20020111, 20030131, false}, {2147480000, 2147483647, true},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(IsExportablePeriod(each.start, each.end), each.exportable) << each.start << "-" << each.end;
    }
}

TEST(PeriodMonths, WithoutACalendarNothingIsWritten)
{
    ServedTestCompany company;
    company.Faults("PeriodCreation = fail\n");
    EXPECT_EQ(PeriodMonths(20020401, 20030331), Months{}) << "left as they were";
}

}  // namespace
