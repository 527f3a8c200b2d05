// The open company's record and the summation conditions built from the chosen months.

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/BridgeApp.h"
#include "app/CompanyData.h"
#include "host/HostRecords.h"
#include "tests/host/ServedTestCompany.h"

namespace {

// ReadCompanyInfo into a record full of other bytes, the user having data number `selected` open.
int ReadSelected(ServedTestCompany& company, int selected, StDATAINFO& record)
{
    // Appended, not `"..." + std::to_string(...)`: GCC 12 warns falsely (-Wrestrict) about
    // that form in the 32-bit build.
    std::string line = "SelectNo2 = ";
    line += std::to_string(selected);
    company.folder.ReplaceLine(L"host.ini", 8, line);
    company.Serve();
    std::memset(&record, 0xCD, sizeof record);
    CBridgeApp app;
    return app.ReadCompanyInfo(&record);
}

TEST(ReadCompanyInfo, FindsTheUsersCompanyAmongSeveralAndReleasesTheCursor)
{
    ServedTestCompany company;
    StDATAINFO record;
    EXPECT_EQ(ReadSelected(company, 13, record), 1);
    EXPECT_STREQ(record.szDataId, "D13");
    EXPECT_EQ(record.nDataNo, 13);
    EXPECT_STREQ(record.szCompanyName, "過去データ");
    EXPECT_EQ(record.nPeriodStart, 20010401);
    EXPECT_EQ(record.nDataKind, 99);
    EXPECT_EQ(record.reservedAt328[0], 0) << "the whole record is the host's";

    EXPECT_EQ(company.CallCount("ClSetData::WalkDat"), 2) << "the walk stops at the match";
    EXPECT_EQ(company.CallNames().back(), "ClSetData::ReleaseDatCursor");
}

TEST(ReadCompanyInfo, NoMatchLeavesAZeroRecordAndStillReleasesTheCursor)
{
    ServedTestCompany company;
    StDATAINFO record;
    EXPECT_EQ(ReadSelected(company, 99, record), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&record), sizeof record), std::string(sizeof record, '\0'));
    EXPECT_EQ(company.CallCount("ClSetData::WalkDat"), 3) << "two records, then the end";
    EXPECT_EQ(company.CallNames().back(), "ClSetData::ReleaseDatCursor");
}

TEST(ReadCompanyInfo, CompanySetIsFetchedOnce)
{
    ServedTestCompany company;
    CBridgeApp app;
    StDATAINFO record;
    EXPECT_EQ(app.ReadCompanyInfo(&record), 1);
    EXPECT_EQ(app.ReadCompanyInfo(&record), 1);
    EXPECT_STREQ(record.szDataId, "D12");
    EXPECT_NE(app.m_pDataSet, nullptr);
    EXPECT_EQ(company.CallCount("ClDataMgr::GetSetObject"), 1);
}

TEST(ReadHostUser, TakesTheSignedInUserAndTheNumbersOfTheCompanyOpen)
{
    ServedTestCompany company;
    const HostUser user = ReadHostUser();
    EXPECT_STREQ(user.id, "suzuki");
    EXPECT_EQ(user.selectNo1, 7);
    EXPECT_EQ(user.selectNo2, 12);
    EXPECT_EQ(company.CallNames(), (std::vector<std::string>{"ClDataMgr::GetSysUserObject", "ClSysUser::GetCurUserID",
                                                             "ClSysUser::GetSelectedNo"}));
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
    CBridgeApp app;

    std::vector<unsigned char> Build(long start, long end, int32_t interim, long from, long to)
    {
        StDATAINFO data;
        std::memset(&data, 0, sizeof data);
        data.nPeriodStart = start;
        data.nPeriodEnd = end;
        data.nInterimFlag = interim;
        StFINDINFO conditions;
        std::memset(&conditions, 0, sizeof conditions);
        app.BuildFindConditions(&conditions, &data, from, to);
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
