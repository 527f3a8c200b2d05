// Loading the stand-in host's data folder: the sample company as the host hands it over,
// and the refusal of bad files with the file and the line.

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "framework/CodePage.h"
#include "host/standin/HostData.h"
#include "tests/host/HostTestFolder.h"

namespace {

// The sample company in samples/, found through BRIDGE_SOURCE_DIR (set by the test run).
class SampleCompany : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::wstring source = TestEnvironmentFolder(L"BRIDGE_SOURCE_DIR");
        ASSERT_FALSE(source.empty()) << "BRIDGE_SOURCE_DIR is not set";
        Cp932FromWide(source + L"\\samples", folder);
        ASSERT_EQ(standin::LoadHostData(folder.c_str(), data), "");
        ASSERT_EQ(data.companies.size(), 1u);
    }

    std::string folder;
    standin::HostData data;
};

TEST_F(SampleCompany, RecordIsTheOpenCompanyInCodePage932)
{
    const StDATAINFO& record = data.companies[0].record;
    EXPECT_EQ(data.selectNo2, record.nDataNo);
    EXPECT_EQ(record.nDataNo, 3);
    EXPECT_STREQ(record.szDataId, "D0003");
    EXPECT_STREQ(record.szCompanyName, "サンプル商事株式会社");   // CP932 bytes on both sides
    EXPECT_EQ(record.nPeriodStart, 20240401);
    EXPECT_EQ(record.nPeriodEnd, 20250331);
    EXPECT_EQ(record.nInterimFlag, 0);
    EXPECT_EQ(record.nDataKind, 0);
    EXPECT_EQ(data.appFolders[0], folder + "\\out\\");
    EXPECT_EQ(data.appFolders[1], folder + "\\settings\\");
}

TEST_F(SampleCompany, RowsComeInDeliveryOrderWithExactAmounts)
{
    const std::vector<StKAMOKUSUMINFO>& rows = data.companies[0].rows;
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_STREQ(rows[0].szName, "現金");
    // The bank account, its two sub-accounts, then the account once more.
    const int32_t bankCodes[4] = {1310000, 1310001, 1310002, 1310000};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(rows[1 + i].nCode, bankCodes[i]);
    EXPECT_EQ(rows[1].bHasSub, 1);
    EXPECT_STREQ(rows[2].szName, "Ａ銀行");

    const StKAMOKUSUMINFO& receivables = rows[6];
    EXPECT_STREQ(receivables.szName, "売掛金");
    EXPECT_EQ(receivables.debitExcl[1], 123456789);       // 12345.6789 yen
    EXPECT_EQ(receivables.debitIncl[3], 3410002750);      // 341000.275 yen
    EXPECT_EQ(receivables.creditIncl[2], 2530005500);     // 253000.55 yen
    EXPECT_EQ(receivables.debitExcl[13], 0);              // slots not written are zero

    EXPECT_EQ(rows[9].bBalanceSide, 0);                   // 買掛金 is a credit-side account
    EXPECT_EQ(rows[12].nAttribute, 0x08000000u);
    EXPECT_EQ(data.companies[0].accounts.size(), 12u);
}

TEST(TestCompany, FieldsAndFlagsAsWritten)
{
    HostTestFolder folder;
    standin::HostData data;
    ASSERT_EQ(folder.Load(data), "");
    ASSERT_EQ(data.companies.size(), 2u);
    EXPECT_EQ(data.companies[0].record.nInterimFlag, 1);
    EXPECT_EQ(data.companies[0].taxRecord.bTaxIncluded, 1);
    EXPECT_EQ(data.companies[1].record.nDataKind, 99);
    EXPECT_EQ(data.companies[1].taxRecord.bTaxIncluded, 0);
    EXPECT_EQ(data.appFolders[1], folder.Cp932Path() + "\\conf\\user\\");   // '/' becomes '\', a backslash is added

    const std::vector<StKAMOKUSUMINFO>& rows = data.companies[0].rows;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].creditExcl[1], 1);                  // 0.0001 yen
    EXPECT_EQ(rows[0].debitIncl[1], 16500);
    EXPECT_EQ(rows[1].bExclude1, 1);
    EXPECT_EQ(rows[1].bExclude2, 2);
    EXPECT_EQ(rows[1].nAttribute, 0x18000000u);
    EXPECT_EQ(rows[1].creditExcl[13], 70000);
    EXPECT_EQ(rows[1].creditExcl[14], 90000);
    EXPECT_EQ(rows[2].debitExcl[0], -5000);
    EXPECT_EQ(rows[2].nAttribute, 42u);
    EXPECT_EQ(data.companies[0].accounts[2].nClass, -2);
}

TEST(TestCompany, OverlongNamesAreCutOnACharacterBoundary)
{
    HostTestFolder folder;
    std::string longName;
    for (int i = 0; i < 150; ++i) longName += U8(u8"あ");
    folder.ReplaceLine(L"host.ini", 14, "CompanyName = " + longName);
    folder.ReplaceLine(L"rows.csv", 2, "1110000,a" + longName + ",0,0,0,1,0,,,,");
    standin::HostData data;
    ASSERT_EQ(folder.Load(data), "");
    EXPECT_EQ(std::strlen(data.companies[0].record.szCompanyName), 258u);   // 129 characters of 2 bytes
    const char* rowName = data.companies[0].rows[0].szName;
    EXPECT_EQ(std::strlen(rowName), 55u);                                   // "a" and 27 characters
    EXPECT_EQ(std::string(rowName + 53), "あ");
}

TEST(TestCompany, FullWidthTildeHasACodePage932Form)
{
    HostTestFolder folder;
    folder.ReplaceLine(L"rows.csv", 2, U8(u8"1110000,4月～3月,0,0,0,1,0,,,,"));
    standin::HostData data;
    ASSERT_EQ(folder.Load(data), "");
    EXPECT_STREQ(data.companies[0].rows[0].szName, "4月～3月");
}

TEST(TestCompany, AmountsAtTheEndsOfTheRange)
{
    HostTestFolder folder;
    folder.ReplaceLine(L"rows.csv", 2, "1110000,x,0,0,0,1,0,922337203685477.5807,-922337203685477.5808,+7,-0");
    standin::HostData data;
    ASSERT_EQ(folder.Load(data), "");
    const StKAMOKUSUMINFO& row = data.companies[0].rows[0];
    EXPECT_EQ(row.debitExcl[0], std::numeric_limits<int64_t>::max());
    EXPECT_EQ(row.debitIncl[0], std::numeric_limits<int64_t>::min());
    EXPECT_EQ(row.creditExcl[0], 70000);
    EXPECT_EQ(row.creditIncl[0], 0);
}

struct BadFile {
    const wchar_t* file;
    int line;                 // 0: the whole file is replaced by `text`
    std::string text;
    std::string refusal;      // the whole refusal, code page 932
};

class BadDataFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadDataFile, IsRefusedNamingFileAndLine)
{
    const BadFile& bad = GetParam();
    HostTestFolder folder;
    if (bad.line == 0) folder.Write(bad.file, bad.text);
    else folder.ReplaceLine(bad.file, bad.line, bad.text);
    EXPECT_EQ(folder.Load(), bad.refusal);
}

const char kRowStart[] = "1110000,name,0,0,0,1,0,";

INSTANTIATE_TEST_SUITE_P(Amounts, BadDataFile, ::testing::Values(
    BadFile{L"rows.csv", 2, std::string(kRowStart) + "1 12a,,,",
            "rows.csv line 2: debit_excl slot 1 \"12a\": amount is not a number"},
    BadFile{L"rows.csv", 2, std::string(kRowStart) + ",1.,,",
            "rows.csv line 2: debit_incl slot 0 \"1.\": amount is not a number"},
    BadFile{L"rows.csv", 3, std::string(kRowStart) + ",,0 0 12.34567,",
            "rows.csv line 3: credit_excl slot 2 \"12.34567\": amount has more than four decimals"},
    BadFile{L"rows.csv", 2, std::string(kRowStart) + ",,,922337203685477.5808",
            "rows.csv line 2: credit_incl slot 0 \"922337203685477.5808\": amount is out of range"},
    BadFile{L"rows.csv", 2, std::string(kRowStart) + "-99999999999999999999,,,",
            "rows.csv line 2: debit_excl slot 0 \"-99999999999999999999\": amount is out of range"},
    BadFile{L"rows.csv", 2, std::string(kRowStart) + "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15,,,",
            "rows.csv line 2: debit_excl has more than 15 amounts"}));

INSTANTIATE_TEST_SUITE_P(Tables, BadDataFile, ::testing::Values(
    BadFile{L"rows.csv", 1,
            "code,name,exclude1,exclude2,has_sub,attributes,debit_excl,debit_incl,credit_excl,credit_incl",
            "rows.csv line 1: column balance_side is missing"},
    BadFile{L"rows.csv", 1, "code,name,has_sub,balance_side,debit_excl,debit_incl,credit_excl,credit_incl,colour",
            "rows.csv line 1: unknown column \"colour\""},
    BadFile{L"rows.csv", 4, "9990000,x,0,0,1,2,42,,,",
            "rows.csv line 4: 10 fields, the header names 11"},
    BadFile{L"rows.csv", 2, "1110000,name,0,0,0,1,0,,,,,",
            "rows.csv line 2: 12 fields, the header names 11"},
    BadFile{L"rows.csv", 3, "2110000,name,0,0,0,side,0,,,,",
            "rows.csv line 3: balance_side \"side\" must be a whole number from 0 to 255"},
    BadFile{L"rows.csv", 3, "2110000,name,0,0,256,0,0,,,,",
            "rows.csv line 3: has_sub \"256\" must be a whole number from 0 to 255"},
    BadFile{L"rows.csv", 2, "2147483648,name,0,0,0,1,0,,,,",
            "rows.csv line 2: code \"2147483648\" must be a whole number from -2147483648 to 2147483647"},
    BadFile{L"rows.csv", 2, "1110000,name,0,0,0,1,0x100000000,,,,",
            "rows.csv line 2: attributes \"0x100000000\" must be 32 bits in decimal or 0x hexadecimal"},
    BadFile{L"accounts.csv", 0, "", "accounts.csv: no header line (the file is empty)"},
    BadFile{L"accounts.csv", 0, "# only a comment\n\n", "accounts.csv: no header line (the file is empty)"},
    BadFile{L"accounts.csv", 4, "2110000,1", "accounts.csv line 4: code 2110000 is given twice (first on line 3)"},
    BadFile{L"accounts.csv", 3, "2110000,128",
            "accounts.csv line 3: class \"128\" must be a whole number from -128 to 127"}));

INSTANTIATE_TEST_SUITE_P(Text, BadDataFile, ::testing::Values(
    BadFile{L"rows.csv", 2, "1110000,\xFF\xFE,0,0,0,1,0,,,,", "rows.csv line 2: text is not valid UTF-8"},
    // A three-byte character cut after its second byte.
    BadFile{L"rows.csv", 3, "2110000,\xE7\x8F,0,0,0,1,0,,,,", "rows.csv line 3: text is not valid UTF-8"},
    BadFile{L"rows.csv", 2, "1110000,\xC0\xAF,0,0,0,1,0,,,,", "rows.csv line 2: text is not valid UTF-8"},
    BadFile{L"rows.csv", 2, U8(u8"1110000,한국,0,0,0,1,0,,,,"),
            "rows.csv line 2: name has a character without a code page 932 form"},
    BadFile{L"rows.csv", 0, std::string("\x89PNG\r\n\x1A\n\0\0", 10),
            "rows.csv line 1: text is not valid UTF-8"},
    BadFile{L"rows.csv", 2, std::string("1110000,na") + '\0' + "me,0,0,0,1,0,,,,",
            "rows.csv line 2: control character in the text (binary data?)"},
    // The wave dash has no form in Windows' code page 932; the full-width tilde ～ (U+FF5E) has.
    BadFile{L"rows.csv", 2, U8(u8"1110000,\u301C,0,0,0,1,0,,,,"),
            "rows.csv line 2: name has a character without a code page 932 form"},
    BadFile{L"host.ini", 14, U8(u8"CompanyName = 😀商事"),
            "host.ini line 14: CompanyName has a character without a code page 932 form"}));

INSTANTIATE_TEST_SUITE_P(HostIni, BadDataFile, ::testing::Values(
    BadFile{L"host.ini", 20, "Accounts = missing.csv", "host.ini line 12: table file missing.csv not found"},
    BadFile{L"host.ini", 16, "PeriodEnd = 20030231", "host.ini line 16: PeriodEnd is not a date written yyyymmdd"},
    BadFile{L"host.ini", 16, "PeriodEnd = 20010331", "host.ini line 16: PeriodEnd lies before PeriodStart"},
    BadFile{L"host.ini", 16, "; no PeriodEnd", "host.ini line 12: [data 12] has no PeriodEnd"},
    BadFile{L"host.ini", 17, "InterimFlag = yes",
            "host.ini line 17: InterimFlag must be a whole number from -2147483648 to 2147483647"},
    BadFile{L"host.ini", 18, "DataKind = 40000",
            "host.ini line 18: DataKind must be a whole number from -32768 to 32767"},
    BadFile{L"host.ini", 13, "DataId = D0123456789ABCDEF", "host.ini line 13: DataId is longer than 15 bytes"},
    BadFile{L"host.ini", 23, "DataId = D12", "host.ini line 22: DataId is the same as another company's"},
    BadFile{L"host.ini", 22, "[data 12]", "host.ini line 22: section [data 12] is given twice"},
    BadFile{L"host.ini", 22, "[data 012]", "host.ini line 22: data number 12 is given twice"},
    BadFile{L"host.ini", 3, "Initate = 0", "host.ini line 3: unknown key Initate in [connection]"},
    BadFile{L"host.ini", 9, "[folder]", "host.ini line 9: unknown section [folder]"},
    BadFile{L"host.ini", 4, "ExpSysLink 0", "host.ini line 4: expected key = value"},
    BadFile{L"host.ini", 1, "Initiate = 0", "host.ini line 1: key outside a [section]"},
    BadFile{L"host.ini", 5, "[users]", "host.ini line 5: unknown section [users]"},
    BadFile{L"host.ini", 0, "[connection]\nInitiate = 0\n", "host.ini: no [user] section"}));

TEST(MissingDataFolder, IsRefusedNamingHostIni)
{
    HostTestFolder folder;
    const std::string missing = folder.Cp932Path() + "\\nothing";
    standin::HostData data;
    EXPECT_EQ(standin::LoadHostData(missing.c_str(), data), "host.ini: file not found in " + missing);
}

TEST(Faults, AreReadFromTheirSection)
{
    HostTestFolder folder;
    folder.Write(L"host.ini", ReadFileBytes(folder.Path() + L"\\host.ini") +
                                  "[faults]\nRuleCreation = fail\nPeriodCreation = ok\nGetSumCount = -7\n"
                                  "SetMovePos = 3\nMoveNext = 2  -9\nTaxGet = 1\n");
    standin::HostData data;
    ASSERT_EQ(folder.Load(data), "");
    EXPECT_TRUE(data.faults.failRuleCreation);
    EXPECT_FALSE(data.faults.failPeriodCreation);
    EXPECT_EQ(data.faults.getSumCountStatus, -7);
    EXPECT_EQ(data.faults.setMovePosStatus, 3);
    EXPECT_EQ(data.faults.moveNextRow, 2);
    EXPECT_EQ(data.faults.moveNextStatus, -9);
    EXPECT_EQ(data.faults.taxGetStatus, 1);

    folder.Write(L"host.ini", ReadFileBytes(folder.Path() + L"\\host.ini") + "MoveNextX = 1\n");
    EXPECT_EQ(folder.Load(), "host.ini line 37: unknown key MoveNextX in [faults]");
    folder.ReplaceLine(L"host.ini", 35, "MoveNext = 0 -1");
    EXPECT_EQ(folder.Load(),
              "host.ini line 35: MoveNext must be a row number from 1 and a nonzero status, e.g. 3 -1");
}

}  // namespace
