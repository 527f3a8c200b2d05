// The open company's record, and the user who has it open.

#include <gtest/gtest.h>

#include <cstring>
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

}  // namespace
