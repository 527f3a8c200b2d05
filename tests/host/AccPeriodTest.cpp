// The host's accounting calendar: the closing day of a period and the accounting month of
// a date, named by the calendar month in which that accounting month closes.

#include <gtest/gtest.h>

#include "host/HostLibrary.h"

namespace {

// The closing day the period's end date gives, and the accounting month of `date`, asked
// in the order the bridge asks.
struct PeriodAnswer {
    short closingDay = 0;
    short month = 0;
};

PeriodAnswer Ask(long start, long end, long date)
{
    ClAccPeriod period;
    PeriodAnswer answer;
    EXPECT_EQ(period.SetPeriod(start, end), 0);
    EXPECT_EQ(period.GetClosingDayByEndDate(end, 0, &answer.closingDay), 0);
    EXPECT_EQ(period.SetClosingDay(answer.closingDay), 0);
    EXPECT_EQ(period.GetAMonthByDate(date, &answer.month, 0), 0);
    return answer;
}

TEST(AccPeriod, YearFromAprilToMarchStartsInApril)
{
    const PeriodAnswer answer = Ask(20020401, 20030331, 20020401);
    EXPECT_EQ(answer.closingDay, 31);
    EXPECT_EQ(answer.month, 4);
    EXPECT_EQ(Ask(20020401, 20030331, 20030331).month, 3);
}

TEST(AccPeriod, CalendarYearStartingMidMonth)
{
    const PeriodAnswer answer = Ask(20020111, 20021231, 20020111);
    EXPECT_EQ(answer.closingDay, 31);
    EXPECT_EQ(answer.month, 1);
}

TEST(AccPeriod, ClosingOnTheTwentieth)
{
    EXPECT_EQ(Ask(20020421, 20030420, 20020421).closingDay, 20);
    EXPECT_EQ(Ask(20020421, 20030420, 20020421).month, 5);
    EXPECT_EQ(Ask(20020421, 20030420, 20020425).month, 5);
    EXPECT_EQ(Ask(20020421, 20030420, 20020520).month, 5);
    EXPECT_EQ(Ask(20020421, 20030420, 20021221).month, 1);    // after the December closing: January
}

TEST(AccPeriod, MonthEndIsTheLastDayWhateverTheMonth)
{
    EXPECT_EQ(Ask(20020301, 20030228, 20020301).closingDay, 31);
    EXPECT_EQ(Ask(20030301, 20040228, 20030301).closingDay, 28);   // 2004 is a leap year
    EXPECT_EQ(Ask(20030301, 20040229, 20030301).closingDay, 31);
    // The last day of a short month leaves the day open; the day before the start tells.
    EXPECT_EQ(Ask(20240229, 20250228, 20240229).closingDay, 28);
    EXPECT_EQ(Ask(20240229, 20250228, 20240229).month, 3);
    EXPECT_EQ(Ask(20230331, 20240229, 20230331).closingDay, 30);

    // Closing on the 30th, February closes on its last day.
    ClAccPeriod period;
    short month = 0;
    period.SetClosingDay(30);
    ASSERT_EQ(period.GetAMonthByDate(20030228, &month, 0), 0);
    EXPECT_EQ(month, 2);
    ASSERT_EQ(period.GetAMonthByDate(20030331, &month, 0), 0);
    EXPECT_EQ(month, 4);
}

TEST(AccPeriod, DatesThatDoNotExistAreRefused)
{
    ClAccPeriod period;
    short day = 7;
    short month = 7;
    EXPECT_NE(period.SetPeriod(20020401, 20020431), 0);
    EXPECT_NE(period.SetPeriod(20030401, 20020331), 0);
    EXPECT_NE(period.GetClosingDayByEndDate(20021300, 0, &day), 0);
    EXPECT_EQ(day, 7);
    EXPECT_NE(period.GetAMonthByDate(0, &month, 0), 0);
    EXPECT_EQ(month, 7);
    EXPECT_NE(period.SetClosingDay(0), 0);
    EXPECT_NE(period.SetClosingDay(32), 0);
}

}  // namespace
