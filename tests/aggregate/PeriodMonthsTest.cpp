// The period's accounting months, from the stand-in host's period calendar, and the
// conditions that select the chosen months' rows.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <ostream>
#include <vector>

#include "aggregate/PeriodMonths.h"
#include "host/HostRecords.h"
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
    // A year from a leap day closes on the 28th: its first month closes on 28 March.
    EXPECT_EQ(PeriodMonths(20240229, 20250228), (Months{3, 102})) << "from a leap day";
    EXPECT_EQ(PeriodMonths(20230430, 20240429), (Months{5, 104})) << "from the last day of April";
    EXPECT_EQ(PeriodMonths(20230228, 20240227), (Months{3, 102})) << "from 28 February";
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
        {20230301, 20240229, true},   {20240401, 20240401, true},  {0, 0, false},
        {20240401, 20250401, false},  {20240401, 20250430, false}, {20240229, 20250301, false},
        {20240401, 20240331, false},  {20020111, 20030131, false}, {2147480000, 2147483647, true},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(IsExportablePeriod(each.start, each.end), each.exportable) << each.start << "-" << each.end;
    }
}

// A calendar that names one month as both the first and the last of a period reaching past it
// would put both into one month slot.
TEST(PeriodMonths, FirstAndLastMonthsMustBeTwoMonthsUnlessThePeriodIsOne)
{
    struct Case {
        long start, end;
        short first, last;
        bool distinct;
    } cases[] = {
        {20240229, 20250228, 2, 2, false},  {20240229, 20250228, 3, 102, true},
        {20240416, 20240516, 5, 5, false},  {20240416, 20240515, 5, 5, true},
        {20241211, 20250110, 1, 1, true},   {20240401, 20240430, 4, 4, true},
        {20240401, 20250331, 0, 0, true},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(AreMonthsDistinct(each.start, each.end, each.first, each.last), each.distinct)
            << each.start << "-" << each.end << " months " << each.first << ".." << each.last;
    }
}

TEST(PeriodMonths, WithoutACalendarNothingIsWritten)
{
    ServedTestCompany company;
    company.Faults("PeriodCreation = fail\n");
    EXPECT_EQ(PeriodMonths(20020401, 20030331), Months{}) << "left as they were";
}

// One condition item as the host lays it out: 34 bytes, values at offsets 0, 6, 10, 18, 30.
struct Item {
    int32_t value;
    int16_t comparison;
    int16_t link;
};

std::vector<unsigned char> Expected(std::initializer_list<Item> items)
{
    std::vector<unsigned char> bytes(136, 0);
    size_t at = 0;
    const auto put = [&](size_t offset, int32_t value, size_t width) {
        for (size_t i = 0; i < width; ++i) bytes[at + offset + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    for (const Item& item : items) {
        put(0, 17, 4);
        put(6, item.comparison, 2);
        put(10, 2, 2);
        put(18, item.value, 2);
        put(30, item.link, 2);
        at += 34;
    }
    return bytes;
}

const int16_t kAtLeast = 4, kAtMost = 6, kIs = 1, kAnd = 1, kOr = 2, kEnd = 0;

class FindConditions : public ::testing::Test {
protected:
    ServedTestCompany company;

    std::vector<unsigned char> Build(long start, long end, int32_t interim, long from, long to)
    {
        StDATAINFO data;
        std::memset(&data, 0, sizeof data);
        data.nPeriodStart = start;
        data.nPeriodEnd = end;
        data.nInterimFlag = interim;
        StFINDINFO conditions;
        std::memset(&conditions, 0, sizeof conditions);
        BuildFindConditions(&conditions, &data, from, to);
        const auto* bytes = reinterpret_cast<const unsigned char*>(&conditions);
        return std::vector<unsigned char>(bytes, bytes + 136);
    }
};

TEST_F(FindConditions, AprilToMarchCompany)
{
    EXPECT_EQ(Build(20020401, 20030331, 0, 4, 3),
              Expected({{1, kAtLeast, kAnd}, {12, kAtMost, kOr}, {18, kIs, kEnd}}));
    EXPECT_EQ(Build(20020401, 20030331, 1, 4, 9),
              Expected({{1, kAtLeast, kAnd}, {6, kAtMost, kOr}, {15, kIs, kEnd}}));
    EXPECT_EQ(Build(20020401, 20030331, 0, 4, 1), Expected({{1, kAtLeast, kAnd}, {10, kAtMost, kEnd}}));
    EXPECT_EQ(Build(20020401, 20030331, 0, 4, 2), Expected({{1, kAtLeast, kAnd}, {11, kAtMost, kEnd}}))
        << "a range ending before the last month has no year-end item";
    EXPECT_EQ(Build(20020401, 20030331, 0, 4, 9), Expected({{1, kAtLeast, kAnd}, {6, kAtMost, kEnd}}))
        << "no interim item without the company's flag";
    EXPECT_EQ(Build(20020401, 20030331, 0, 1, 3),
              Expected({{10, kAtLeast, kAnd}, {12, kAtMost, kOr}, {18, kIs, kEnd}}));
}

TEST_F(FindConditions, CalendarYearCompanyNeverWraps)
{
    EXPECT_EQ(Build(20020111, 20021231, 0, 1, 12),
              Expected({{1, kAtLeast, kAnd}, {12, kAtMost, kOr}, {18, kIs, kEnd}}));
    EXPECT_EQ(Build(20020101, 20021231, 0, 3, 5), Expected({{3, kAtLeast, kAnd}, {5, kAtMost, kEnd}}));
}

// Six months from April: the range ends at month 6, which is also the period's last month.
TEST_F(FindConditions, SixMonthPeriodWithTheInterimFlagFillsAllFourItems)
{
    EXPECT_EQ(Build(20020401, 20020930, 1, 4, 9),
              Expected({{1, kAtLeast, kAnd}, {6, kAtMost, kOr}, {15, kIs, kOr}, {18, kIs, kEnd}}));
}

TEST_F(FindConditions, FromLaterThanToIsBuiltAllTheSame)
{
    EXPECT_EQ(Build(20020401, 20030331, 0, 10, 5), Expected({{7, kAtLeast, kAnd}, {2, kAtMost, kEnd}}));
}

// Without a calendar the first month and the last code are zero.
TEST_F(FindConditions, PeriodCalendarThatCannotBeCreated)
{
    company.Faults("PeriodCreation = fail\n");
    EXPECT_EQ(Build(20020401, 20030331, 0, 4, 3), Expected({{5, kAtLeast, kAnd}, {4, kAtMost, kEnd}}));
}

}  // namespace
