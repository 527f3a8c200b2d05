// The host's classes as the bridge calls them, served by the stand-in from a test folder:
// what each call hands over, the faults, the refusal of bad data, and the call log.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/TestSeams.h"
#include "host/HostLibrary.h"
#include "tests/host/HostTestFolder.h"

namespace {

class HostCalls : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMessageBoxResponder([this](const MessageBoxCall& call) {
            boxes.push_back(call);
            return IDOK;
        });
        ServeHostFolder(folder.Path(), LogPath());
    }

    void TearDown() override
    {
        ClAccConnect::Inst()->Release();
        ServeHostFolder(L"");
        SetMessageBoxResponder(nullptr);
    }

    std::wstring LogPath() const { return folder.Path() + L"\\calls.log"; }

    std::vector<std::string> LogLines() const
    {
        std::vector<std::string> lines;
        const std::string text = ReadFileBytes(LogPath());
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = text.find('\n', start);
            lines.push_back(text.substr(start, end - start));
            start = end == std::string::npos ? text.size() : end + 1;
        }
        return lines;
    }

    void AddFaults(const std::string& lines) const
    {
        folder.Write(L"host.ini", ReadFileBytes(folder.Path() + L"\\host.ini") + "[faults]\n" + lines);
    }

    static ClSetData* CompanySet() { return static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1)); }
    static ClSetKamoku* AccountSet() { return static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(1, 1)); }
    static ClSetShohizei* TaxSet() { return static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1)); }

    // A rule attached to company D12 the way the bridge attaches it.
    static std::unique_ptr<ClRuleKamoku> AttachedRule()
    {
        std::unique_ptr<ClRuleKamoku> rule(new (std::nothrow) ClRuleKamoku);
        if (rule == nullptr) return rule;
        rule->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr());
        rule->SetCurDataID("D12");
        rule->AttachOptLink(ClLinkMgr::Inst()->GetOptLink());
        return rule;
    }

    static StFINDINFO WholeYear()
    {
        StFINDINFO conditions;
        std::memset(&conditions, 0, sizeof conditions);
        const int16_t items[3][3] = {{4, 1, 1}, {6, 12, 2}, {1, 18, 0}};   // operator, value, connector
        for (int i = 0; i < 3; ++i) {
            conditions.items[i].nField = 17;
            conditions.items[i].nOperator = items[i][0];
            conditions.items[i].nValueType = 2;
            conditions.items[i].nValue = items[i][1];
            conditions.items[i].nConnector = items[i][2];
        }
        return conditions;
    }

    HostTestFolder folder;
    std::vector<MessageBoxCall> boxes;
};

TEST_F(HostCalls, ConnectionCallsAreLoggedInOrder)
{
    ClAccConnect* connection = ClAccConnect::Inst();
    connection->m_pszCaption = "科目内訳書";
    EXPECT_EQ(connection->SetAppType(3), 0);
    EXPECT_EQ(connection->SetUseDataType(1), 0);
    EXPECT_EQ(connection->Initiate(), 0);
    EXPECT_EQ(connection->ExpSysLink(), 0);
    connection->LogOut();
    connection->Terminate();
    connection->Release();
    EXPECT_EQ(connection->m_pszCaption, nullptr);
    const std::vector<std::string> expected = {
        "ClAccConnect::SetAppType 3",
        "ClAccConnect::SetUseDataType 1",
        U8(u8"ClAccConnect::Initiate caption=科目内訳書 owner=0 -> 0"),
        "ClAccConnect::ExpSysLink -> 0",
        "ClAccConnect::LogOut",
        "ClAccConnect::Terminate",
        "ClAccConnect::Release"};
    EXPECT_EQ(LogLines(), expected);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(HostCalls, ConnectionResultsComeFromHostIni)
{
    folder.ReplaceLine(L"host.ini", 3, "Initiate = 4");
    folder.ReplaceLine(L"host.ini", 4, "ExpSysLink = 1");
    ClAccConnect* connection = ClAccConnect::Inst();
    connection->m_hOwnerWnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(1312));
    EXPECT_EQ(connection->Initiate(), 4);
    EXPECT_EQ(LogLines().back(), "ClAccConnect::Initiate caption=(null) owner=1312 -> 4");
    EXPECT_TRUE(boxes.empty());

    folder.ReplaceLine(L"host.ini", 3, "Initiate = 0");
    ServeHostFolder(folder.Path(), LogPath());
    EXPECT_EQ(connection->Initiate(), 0);
    EXPECT_EQ(connection->ExpSysLink(), 1);
}

TEST_F(HostCalls, RefusedDataIsShownOnceAndTheConnectionFails)
{
    folder.ReplaceLine(L"rows.csv", 3, "2110000,x,0,0,0,0,0,1.00001,,,");
    ClAccConnect* connection = ClAccConnect::Inst();
    connection->m_pszCaption = "科目内訳書";
    EXPECT_NE(connection->Initiate(), 0);
    EXPECT_NE(connection->Initiate(), 0);
    connection->LogOut();
    connection->Terminate();
    connection->Release();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "rows.csv line 3: debit_excl slot 0 \"1.00001\": amount has more than four decimals");
    EXPECT_EQ(boxes[0].caption, "科目内訳書");
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], U8(u8"ClAccConnect::Initiate caption=科目内訳書 owner=0 -> -1"));
    EXPECT_EQ(lines[2], "ClAccConnect::LogOut");
    EXPECT_EQ(lines[4], "ClAccConnect::Release");

    // Nothing is served from refused data.
    long cursor = 0;
    StDATAINFO record;
    CompanySet()->GetDatCursor(&cursor);
    EXPECT_NE(CompanySet()->WalkDat(&record, cursor), 0);
    CompanySet()->ReleaseDatCursor(cursor);
    EXPECT_EQ(new (std::nothrow) ClRuleKamoku, nullptr);
}

TEST_F(HostCalls, CompanyRecordsAreWalkedAndTheOpenOneIsSelected)
{
    ClSetData* companies = CompanySet();
    ASSERT_NE(companies, nullptr);
    long cursor = 0;
    ASSERT_EQ(companies->GetDatCursor(&cursor), 0);
    EXPECT_EQ(companies->ReadyDat(cursor, 0), 0);
    StDATAINFO record;
    ASSERT_EQ(companies->WalkDat(&record, cursor), 0);
    EXPECT_EQ(record.nDataNo, 12);
    EXPECT_STREQ(record.szCompanyName, "テスト工業");
    ASSERT_EQ(companies->WalkDat(&record, cursor), 0);
    EXPECT_EQ(record.nDataNo, 13);
    EXPECT_EQ(record.nDataKind, 99);
    EXPECT_NE(companies->WalkDat(&record, cursor), 0);
    EXPECT_EQ(companies->ReleaseDatCursor(cursor), 0);
    EXPECT_NE(companies->ReleaseDatCursor(cursor), 0);
    EXPECT_NE(companies->WalkDat(&record, cursor), 0);

    const StDATAINFO* selected = companies->GetSelectedInfo();
    ASSERT_NE(selected, nullptr);
    EXPECT_STREQ(selected->szDataId, "D12");
    EXPECT_EQ(selected->nPeriodStart, 20020401);
}

TEST_F(HostCalls, NoOpenCompanyGivesAZeroRecord)
{
    folder.ReplaceLine(L"host.ini", 8, "SelectNo2 = 99");
    const StDATAINFO* selected = CompanySet()->GetSelectedInfo();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->nDataNo, 0);
    EXPECT_STREQ(selected->szDataId, "");
}

TEST_F(HostCalls, UserAndSelectionNumbers)
{
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    char userId[65];
    std::memset(userId, 'x', sizeof userId);
    ASSERT_EQ(user->GetCurUserID(userId), 0);
    EXPECT_STREQ(userId, "suzuki");
    long no1 = 0;
    long no2 = 0;
    ASSERT_EQ(user->GetSelectedNo(userId, &no1, &no2), 0);
    EXPECT_EQ(no1, 7);
    EXPECT_EQ(no2, 12);
    long other1 = -5;
    long other2 = -5;
    EXPECT_NE(user->GetSelectedNo("tanaka", &other1, &other2), 0);
    EXPECT_EQ(other2, -5);
}

TEST_F(HostCalls, AppFoldersAreCreatedAndCopiedWhole)
{
    ClFileMgr* files = ClFileMgr::Inst();
    char path[261];
    ASSERT_EQ(files->GetAppFolderPath(0, path, sizeof path), 0);
    EXPECT_EQ(std::string(path), folder.Cp932Path() + "\\out\\");
    EXPECT_NE(GetFileAttributesW((folder.Path() + L"\\out").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    ASSERT_EQ(files->GetAppFolderPath(1, path, sizeof path), 0);
    EXPECT_EQ(std::string(path), folder.Cp932Path() + "\\conf\\user\\");
    EXPECT_NE(GetFileAttributesW((folder.Path() + L"\\conf\\user").c_str()), INVALID_FILE_ATTRIBUTES);

    std::strcpy(path, "old");
    EXPECT_NE(files->GetAppFolderPath(0, path, 5), 0);
    EXPECT_STREQ(path, "");
    std::strcpy(path, "old");
    EXPECT_NE(files->GetAppFolderPath(2, path, sizeof path), 0);
    EXPECT_STREQ(path, "");
}

TEST_F(HostCalls, EmptyAndAbsoluteFolders)
{
    folder.ReplaceLine(L"host.ini", 10, "Output =");
    folder.ReplaceLine(L"host.ini", 11, "Settings = " + Utf8FromWide(folder.Path()) + "\\abs");
    char path[261] = "old";
    ASSERT_EQ(ClFileMgr::Inst()->GetAppFolderPath(0, path, sizeof path), 0);
    EXPECT_STREQ(path, "");
    ASSERT_EQ(ClFileMgr::Inst()->GetAppFolderPath(1, path, sizeof path), 0);
    EXPECT_EQ(std::string(path), folder.Cp932Path() + "\\abs\\");
}

TEST_F(HostCalls, TaxRecordOfTheCurrentCompany)
{
    ClSetShohizei* tax = TaxSet();
    EXPECT_EQ(tax->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()), 0);
    StSHOHIZEIINFO record;
    ASSERT_EQ(tax->SetCurDataID("D12"), 0);
    std::memset(&record, 0, sizeof record);
    ASSERT_EQ(tax->Get(&record), 0);
    EXPECT_EQ(record.bTaxIncluded, 1);
    ASSERT_EQ(tax->SetCurDataID("D13"), 0);
    ASSERT_EQ(tax->Get(&record), 0);
    EXPECT_EQ(record.bTaxIncluded, 0);
    EXPECT_NE(tax->SetCurDataID("D99"), 0);
    EXPECT_NE(tax->SetCurDataID(""), 0);
}

TEST_F(HostCalls, TaxRecordFault)
{
    AddFaults("TaxGet = -3\n");
    StSHOHIZEIINFO record;
    std::memset(&record, 0x55, sizeof record);
    EXPECT_EQ(TaxSet()->Get(&record), -3);
    EXPECT_EQ(record.bTaxIncluded, 0x55);
}

TEST_F(HostCalls, AccountIsFoundByItsCode)
{
    ClSetKamoku* accounts = AccountSet();
    ASSERT_EQ(accounts->SetCurDataID("D12"), 0);
    StFINDITEM condition;
    std::memset(&condition, 0, sizeof condition);
    condition.nField = 2;
    condition.nOperator = 1;
    condition.nValueType = 3;
    condition.nValue = 2110000;
    long cursor = 0;
    ASSERT_EQ(accounts->GetCursor(&cursor), 0);
    ASSERT_EQ(accounts->ReadyCursor(cursor), 0);
    StKAMOKUINFO found;
    std::memset(&found, 0xCD, sizeof found);
    ASSERT_EQ(accounts->WalkFind(cursor, &condition, &found), 0);
    EXPECT_EQ(found.nCode, 2110000);
    EXPECT_EQ(found.nClass, 1);
    EXPECT_EQ(found.reservedAt0[0], 0);
    // The walk goes on after the account found: codes are unique, so nothing more is found.
    EXPECT_NE(accounts->WalkFind(cursor, &condition, &found), 0);
    EXPECT_EQ(found.nCode, 0);
    EXPECT_EQ(accounts->ReleaseCursor(cursor), 0);

    ASSERT_EQ(accounts->GetCursor(&cursor), 0);
    condition.nValue = 4444;
    std::memset(&found, 0xCD, sizeof found);
    EXPECT_NE(accounts->WalkFind(cursor, &condition, &found), 0);
    EXPECT_EQ(found.nCode, 0);
    EXPECT_EQ(found.nClass, 0);
    condition.nValue = 2110000;
    condition.nField = 3;
    EXPECT_NE(accounts->WalkFind(cursor, &condition, &found), 0);
    EXPECT_EQ(accounts->ReleaseCursor(cursor), 0);
    EXPECT_EQ(LogLines().back(), "ClSetKamoku::ReleaseCursor " + std::to_string(cursor) + " -> 0");
}

TEST_F(HostCalls, RuleDeliversTheRowsInFileOrderThenEnds)
{
    std::unique_ptr<ClRuleKamoku> rule = AttachedRule();
    ASSERT_NE(rule, nullptr);
    const StFINDINFO conditions = WholeYear();
    EXPECT_EQ(rule->MoveReady(_RuleKamokuSumType_Base, _RuleKamokuSumType_Bmn, _RuleKamokuSumType_Disptype,
                              &conditions, nullptr, _RuleKamokuSumType_Past), 0);
    EXPECT_EQ(LogLines().back(), "ClRuleKamoku::MoveReady 1 0 0 [17 4 2 1 1][17 6 2 12 2][17 1 2 18 0] -> 0");
    long count = 0;
    ASSERT_EQ(rule->GetSumCount(&count), 0);
    EXPECT_EQ(count, 3);
    ASSERT_EQ(rule->SetMovePos(0), 0);

    StKAMOKUSUMINFO row;
    const int32_t codes[3] = {1110000, 2110000, 9990000};
    for (const int32_t code : codes) {
        std::memset(&row, 0, sizeof row);
        ASSERT_EQ(rule->MoveNext(&row), 0);
        EXPECT_EQ(row.nCode, code);
    }
    EXPECT_STREQ(row.szName, "諸口");
    EXPECT_EQ(row.bHasSub, 1);
    EXPECT_EQ(row.bBalanceSide, 2);
    EXPECT_EQ(row.debitExcl[0], -5000);
    EXPECT_EQ(rule->MoveNext(&row), 5000);
    EXPECT_EQ(rule->MoveNext(&row), 5000);
    EXPECT_EQ(rule->MoveFinish(), 0);

    // A second reading starts again from the first row.
    rule->MoveReady(1, 0, 0, &conditions, nullptr, 0);
    rule->SetMovePos(0);
    ASSERT_EQ(rule->MoveNext(&row), 0);
    EXPECT_EQ(row.nCode, 1110000);
    rule.reset();
    EXPECT_EQ(LogLines().back(), "ClRuleKamoku::delete");
}

TEST_F(HostCalls, SummationConditionsAreLoggedWithTheir16BitValues)
{
    std::unique_ptr<ClRuleKamoku> rule = AttachedRule();
    ASSERT_NE(rule, nullptr);
    StFINDINFO conditions = WholeYear();
    conditions.items[1].nConnector = 0;
    const int16_t below = -1;   // the bridge writes 16 bits into a zeroed value field
    std::memset(&conditions.items[1].nValue, 0, sizeof conditions.items[1].nValue);
    std::memcpy(&conditions.items[1].nValue, &below, sizeof below);
    rule->MoveReady(1, 0, 0, &conditions, nullptr, 0);
    EXPECT_EQ(LogLines().back(), "ClRuleKamoku::MoveReady 1 0 0 [17 4 2 1 1][17 6 2 -1 0] -> 0");
}

TEST_F(HostCalls, RuleOfTheOpenCompanyWhenNoDataIdIsGiven)
{
    folder.ReplaceLine(L"host.ini", 8, "SelectNo2 = 13");
    folder.ReplaceLine(L"host.ini", 29, "Rows = rows13.csv");
    folder.Write(L"rows13.csv", "code,name,has_sub,balance_side,debit_excl,debit_incl,credit_excl,credit_incl\n"
                                "5,only,0,1,,,,\n");
    std::unique_ptr<ClRuleKamoku> rule(new (std::nothrow) ClRuleKamoku);
    ASSERT_NE(rule, nullptr);
    ASSERT_EQ(rule->MoveReady(1, 0, 0, nullptr, nullptr, 0), 0);
    long count = 0;
    ASSERT_EQ(rule->GetSumCount(&count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_NE(rule->SetCurDataID("NOPE"), 0);
}

TEST_F(HostCalls, CreationFaults)
{
    AddFaults("RuleCreation = fail\nPeriodCreation = fail\n");
    EXPECT_EQ(new (std::nothrow) ClRuleKamoku, nullptr);
    EXPECT_EQ(new (std::nothrow) ClAccPeriod, nullptr);
    EXPECT_EQ(LogLines().back(), "ClAccPeriod::new -> (null)");
}

TEST_F(HostCalls, CountAndPositionFaults)
{
    AddFaults("GetSumCount = -7\nSetMovePos = 5\n");
    std::unique_ptr<ClRuleKamoku> rule = AttachedRule();
    ASSERT_NE(rule, nullptr);
    rule->MoveReady(1, 0, 0, nullptr, nullptr, 0);
    long count = 99;
    EXPECT_EQ(rule->GetSumCount(&count), -7);
    EXPECT_EQ(rule->SetMovePos(0), 5);
}

TEST_F(HostCalls, MoveNextFaultAtARow)
{
    AddFaults("MoveNext = 2 -9\n");
    std::unique_ptr<ClRuleKamoku> rule = AttachedRule();
    rule->MoveReady(1, 0, 0, nullptr, nullptr, 0);
    rule->SetMovePos(0);
    StKAMOKUSUMINFO row;
    EXPECT_EQ(rule->MoveNext(&row), 0);
    EXPECT_EQ(rule->MoveNext(&row), -9);
    EXPECT_EQ(rule->MoveNext(&row), -9);
}

TEST_F(HostCalls, MoveNextFaultInPlaceOfTheEnd)
{
    AddFaults("MoveNext = 4 -2\n");
    std::unique_ptr<ClRuleKamoku> rule = AttachedRule();
    rule->MoveReady(1, 0, 0, nullptr, nullptr, 0);
    rule->SetMovePos(0);
    StKAMOKUSUMINFO row;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(rule->MoveNext(&row), 0);
    EXPECT_EQ(rule->MoveNext(&row), -2);
}

TEST_F(HostCalls, HostMessageNamesTheReceivingProgram)
{
    folder.ReplaceLine(L"host.ini", 4, U8(u8"ExpSysLink = 0\nReceivingProgram = 内訳名人"));
    // ウ is 0x83 0x45: its trail byte is an 'E' that must not start a token.
    const char text[] = "ES_APRPACKAGENAMEが見つかりません。\nウS_APRPACKAGENAME";
    const HWND owner = reinterpret_cast<HWND>(static_cast<uintptr_t>(77));
    EXPECT_EQ(ClAccConnect::Inst()->DispMsg(owner, text, "科目内訳書", 0x30), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "内訳名人が見つかりません。\nウS_APRPACKAGENAME");
    EXPECT_EQ(boxes[0].caption, "科目内訳書");
    EXPECT_EQ(boxes[0].style, 0x30u);
    EXPECT_EQ(boxes[0].owner, owner);
    EXPECT_EQ(LogLines().back(),
              U8(u8"ClAccConnect::DispMsg owner=77 style=0x30 caption=科目内訳書 "
                 u8"text=内訳名人が見つかりません。\\nウS_APRPACKAGENAME"));
}

TEST_F(HostCalls, HostMessageKeepsTheTokenWithoutAName)
{
    ClAccConnect::Inst()->DispMsg(nullptr, "ES_APRPACKAGENAME", "科目内訳書", 0x30);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "ES_APRPACKAGENAME");
}

}  // namespace
