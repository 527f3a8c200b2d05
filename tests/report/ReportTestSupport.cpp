#include "tests/report/ReportTestSupport.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "framework/CodePage.h"

void TestStatement::AddScaled(int32_t code, const char* name, int hasSubAccounts, int64_t balance)
{
    auto entry = std::make_unique<StatementEntry>();
    std::memset(entry.get(), 0, sizeof *entry);
    entry->code = code;
    CopyEntryName(entry->name, name, std::strlen(name) + 1);
    entry->hasSubAccounts = static_cast<uint8_t>(hasSubAccounts);
    entry->balance = balance;
    ASSERT_TRUE(list_.Append(std::move(entry)));
}

CurrentFolder::CurrentFolder(const std::wstring& folder)
{
    wchar_t before[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH + 1, before);
    before_ = before;
    SetCurrentDirectoryW(folder.c_str());
}

CurrentFolder::~CurrentFolder()
{
    SetCurrentDirectoryW(before_.c_str());
}

ReportTest::ReportTest()
{
    report.SetProgressBase(500);
    SetCompanyName("ABC商事");
    company.nPeriodStart = 20090401;
    company.nPeriodEnd = 20100331;
}

void ReportTest::SetCompanyName(const char* name)
{
    // Byte for byte, as the host may hand a name over: half a character included.
    std::memset(company.szCompanyName, 0, sizeof company.szCompanyName);
    std::memcpy(company.szCompanyName, name, std::min(std::strlen(name), sizeof company.szCompanyName - 1));
}

int ReportTest::Write(const std::wstring& name, int16_t functionId)
{
    return WriteTo(folder / name, functionId);
}

int ReportTest::WriteTo(const std::wstring& path, int16_t functionId)
{
    std::string cp932Path;
    EXPECT_TRUE(Cp932FromWide(path, cp932Path));
    return report.WriteReport(cp932Path.c_str(), functionId, &company);
}

std::string ReportTest::Output(const std::wstring& name) const
{
    return ReadFileBytes(folder / name);
}

void ReportTest::KeepForCheck(const std::wstring& checkName, const std::wstring& name) const
{
    EXPECT_TRUE(KeepXmlForCheck(folder / name, checkName)) << "could not keep " << Utf8FromWide(checkName);
}

void AddWorkedExampleEntries(TestStatement& statement)
{
    statement.Add(1110000, "現金", 0, 1234567);
    statement.Add(1310000, "普通預金", 1, 5000000);
    statement.Add(1310001, "A銀行", 0, 3000000);
    statement.Add(1310002, "B銀行", 0, 2000000);
    statement.Add(1310000, "普通預金", 1, 5000000);
    statement.Add(1520000, "仮払金", 0, 0);
    statement.Add(2110000, "買掛金", 0, -250000);
}
