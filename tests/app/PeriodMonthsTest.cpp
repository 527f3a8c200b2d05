// The period's accounting months, from the stand-in host's period calendar.

#include <gtest/gtest.h>

#include "app/PeriodMonths.h"
#include "tests/host/ServedTestCompany.h"

namespace {

struct Months {
    short first = 77;
    short last = 77;
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
    const Months aprilToMarch = PeriodMonths(20020401, 20030331);
    EXPECT_EQ(aprilToMarch.first, 4);
    EXPECT_EQ(aprilToMarch.last, 103);
    const Months calendarYear = PeriodMonths(20020111, 20021231);
    EXPECT_EQ(calendarYear.first, 1);
    EXPECT_EQ(calendarYear.last, 12);
    // Closing on the 20th: the 21st of April already belongs to the month that closes in May.
    const Months closingOnThe20th = PeriodMonths(20020421, 20030420);
    EXPECT_EQ(closingOnThe20th.first, 5);
    EXPECT_EQ(closingOnThe20th.last, 104);
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

TEST(PeriodMonths, CalendarIsDeletedAfterItsLastCall)
{
    ServedTestCompany company;
    PeriodMonths(20020401, 20030331);
    const std::vector<std::string> calls = company.CallNames();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "ClAccPeriod::new");
    EXPECT_EQ(calls.back(), "ClAccPeriod::delete");
}

TEST(PeriodMonths, WithoutACalendarNothingIsWritten)
{
    ServedTestCompany company;
    company.Faults("PeriodCreation = fail\n");
    const Months months = PeriodMonths(20020401, 20030331);
    EXPECT_EQ(months.first, 77);
    EXPECT_EQ(months.last, 77);
}

}  // namespace
