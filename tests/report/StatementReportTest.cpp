// The statement document: the worked example byte for byte, the sections' values, number
// formats, progress, and lists whose order the aggregation's filters have broken.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/report/ReportTestSupport.h"

namespace {

// The lines of a CR LF text, without their ends.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the text does not end with CR LF";
    return lines;
}

// The DATA section's lines, between its start and end tags.
std::vector<std::string> DataLines(const std::string& text)
{
    const std::vector<std::string> all = Lines(text);
    auto begin = std::find(all.begin(), all.end(), "\t<DATA>");
    auto end = std::find(all.begin(), all.end(), "\t</DATA>");
    EXPECT_TRUE(begin != all.end() && end != all.end());
    if (begin == all.end() || end == all.end() || end < begin) return {};
    return std::vector<std::string>(begin + 1, end);
}

std::vector<std::string> AccountLines(const char* count, const char* code, const char* name, const char* amount,
                                      bool close = true)
{
    std::vector<std::string> lines = {
        std::string("\t\t<KANJYOKAMOKU Count=\"") + count + "\">",
        std::string("\t\t\t<KANJYOKAMOKU_CODE>") + code + "</KANJYOKAMOKU_CODE>",
        std::string("\t\t\t<KANJYOKAMOKU_NAME>") + name + "</KANJYOKAMOKU_NAME>",
        std::string("\t\t\t<KANJYOKAMOKU_ZANDAKA>") + amount + "</KANJYOKAMOKU_ZANDAKA>"};
    if (close) lines.push_back("\t\t</KANJYOKAMOKU>");
    return lines;
}

std::vector<std::string> SubAccountLines(const char* count, const char* code, const char* name, const char* amount)
{
    return {std::string("\t\t\t<HOJYOKAMOKU Count=\"") + count + "\">",
            std::string("\t\t\t\t<HOJYOKAMOKU_CODE>") + code + "</HOJYOKAMOKU_CODE>",
            std::string("\t\t\t\t<HOJYOKAMOKU_NAME>") + name + "</HOJYOKAMOKU_NAME>",
            std::string("\t\t\t\t<HOJYOKAMOKU_ZANDAKA>") + amount + "</HOJYOKAMOKU_ZANDAKA>",
            "\t\t\t</HOJYOKAMOKU>"};
}

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::string kGroupEnd = "\t\t</KANJYOKAMOKU>";

TEST_F(ReportTest, WorkedExampleComesOutByteForByte)
{
    AddWorkedExampleEntries(statement);
    ASSERT_EQ(Write(), 1);
    const std::string expected =
        ReadFileBytes(TestEnvironmentFolder(L"BRIDGE_SOURCE_DIR") + L"\\tests\\report\\data\\worked-example.xml");
    ASSERT_EQ(Lines(expected).size(), 48u) << "the expected file lost its CR LF line ends";
    EXPECT_EQ(Output(), expected);
    KeepForCheck(L"report-worked-example.xml");
    EXPECT_EQ(FolderNames(folder.Path()), std::vector<std::wstring>{L"statement.xml"}) << "a fresh file was left";

    // One tick after the root's start, each SYSTEM and BASIC child, each section, each entry.
    EXPECT_EQ(progress.ticks, 1 + 6 + 3 + 3 + 7);
    const std::vector<std::pair<short, short>> advances = {{500, 600}, {600, 700}, {700, 1000}};
    EXPECT_EQ(progress.advances, advances);
}

TEST_F(ReportTest, ReplacesAnExistingFileAndWritesTheFunctionId)
{
    ASSERT_TRUE(WriteFileBytes(folder / L"statement.xml", std::string(100000, 'x')));
    ASSERT_EQ(Write(L"statement.xml", -2), 1);
    const std::string text = Output();
    EXPECT_EQ(text.find("xxxx"), std::string::npos);
    EXPECT_NE(text.find("\t\t<FUNCTIONID>-2</FUNCTIONID>\r\n"), std::string::npos);
    // An empty list: DATA opens and closes with nothing between.
    EXPECT_NE(text.find("\t<DATA>\r\n\t</DATA>\r\n</REPORT>\r\n"), std::string::npos);
    KeepForCheck(L"report-empty-list.xml");
}

TEST_F(ReportTest, SupportInformationNamesTheProduct)
{
    ASSERT_TRUE(WriteFileBytes(folder / L"SUPPORT.INF",
                               "[=製品名=]Ledgora & Co <17>\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]17.01.03\r\n"));
    ASSERT_EQ(Write(), 1);
    const std::string text = Output();
    EXPECT_NE(text.find("\t\t<PROGRAMNAME>Ledgora &amp; Co &lt;17&gt;</PROGRAMNAME>\r\n"), std::string::npos);
    EXPECT_NE(text.find("\t\t<PROGRAMVER>17.01.03</PROGRAMVER>\r\n"), std::string::npos);
    KeepForCheck(L"report-support-info.xml");
}

// A value too long for the line is cut on a character boundary and never inside an entity;
// the line keeps its end tag and stays within 255 bytes.
TEST_F(ReportTest, OverlongSupportValuesAreCutInsideTheLine)
{
    std::string name = "A";
    for (int i = 0; i < 120; ++i) name += "表&";
    ASSERT_TRUE(WriteFileBytes(folder / L"SUPPORT.INF",
                               "[=製品名=]" + name + "\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]" + std::string(400, 'v') + "\r\n"));
    ASSERT_EQ(Write(), 1);
    for (const std::string& line : Lines(Output())) {
        EXPECT_LE(line.size() + 2, 255u) << line;
        if (line.find("PROGRAMNAME") == std::string::npos) continue;
        const std::string open = "\t\t<PROGRAMNAME>", close = "</PROGRAMNAME>";
        ASSERT_EQ(line.rfind(open, 0), 0u);
        ASSERT_GE(line.size(), open.size() + close.size());
        ASSERT_EQ(line.substr(line.size() - close.size()), close);
        const std::string value = line.substr(open.size(), line.size() - open.size() - close.size());
        // The value is the name's start, escaped, cut after a whole unit: 表 or &amp;.
        EXPECT_GE(value.size(), 220u);
        std::string unescaped = value;
        for (size_t at = 0; (at = unescaped.find("&amp;", at)) != std::string::npos; ++at)
            unescaped.replace(at, 5, 1, '&');
        EXPECT_EQ(name.rfind(unescaped, 0), 0u) << "not a clean cut: " << value;
    }
    EXPECT_NE(Output().find("\t\t<PROGRAMVER>" + std::string(226, 'v') + "</PROGRAMVER>\r\n"), std::string::npos);
    KeepForCheck(L"report-long-support-values.xml");
}

TEST_F(ReportTest, CompanyNameIsFullWidthAndCp932OnlyCharactersStay)
{
    SetCompanyName("A&B ㈱ソフト");
    ASSERT_EQ(Write(), 1);
    EXPECT_NE(Output().find("\t\t<KOMONSAKINAME>Ａ＆Ｂ　㈱ソフト</KOMONSAKINAME>\r\n"), std::string::npos);
    KeepForCheck(L"report-company-name.cp932.xml");
}

// Control bytes are no XML characters; a lead byte without its second half, or a byte that is
// no character at all, would take the bytes after it into a character no reader decodes.
TEST_F(ReportTest, BytesTheFileCannotCarryAreReplacedAndTheRestIsKept)
{
    ASSERT_TRUE(WriteFileBytes(folder / L"SUPPORT.INF",
                               "[=製品名=]Ledgora\x81 17\tPro\x7F\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]\x81" "17\x01\xFD\r\n"));
    SetCompanyName("AB\x81 CD\x1F");
    statement.Add(1110000, "現\x01金\x82", 1, 5);
    statement.Add(1110001, "A\x81 B\x80\xA0", 0, 5);
    ASSERT_EQ(Write(), 1);
    const std::string text = Output();
    EXPECT_NE(text.find("\t\t<PROGRAMNAME>Ledgora・ 17 Pro </PROGRAMNAME>\r\n"), std::string::npos);
    EXPECT_NE(text.find("\t\t<PROGRAMVER>・17 ・</PROGRAMVER>\r\n"), std::string::npos);
    EXPECT_NE(text.find("\t\t<KOMONSAKINAME>ＡＢ・　ＣＤ　</KOMONSAKINAME>\r\n"), std::string::npos);
    EXPECT_EQ(DataLines(text), Joined({AccountLines("   1", "111", "現 金・", "5", false),
                                       SubAccountLines("   1", "1", "A・ B・・", "5"), {kGroupEnd}}));
    KeepForCheck(L"report-bytes-replaced.xml");
}

TEST_F(ReportTest, AmountsCountsAndCodes)
{
    statement.AddScaled(1110000, "現金", 0, -2'500'000'000);       // -250000 yen
    statement.AddScaled(1120000, "小口", 0, 15'000);               // 1.5 yen: the fraction is cut
    statement.AddScaled(1130000, "端数", 0, -9'999);               // below one yen: empty
    statement.AddScaled(1140000, "上限", 0, 9'999'999'999'999'999); // 999,999,999,999 yen
    statement.AddScaled(1150000, "下端", 0, -999'999'999'999'999); // -99,999,999,999.9999 yen
    statement.AddScaled(1160000, "下限", 0, -999'999'999'990'000); // -99,999,999,999 yen
    statement.AddScaled(1170000, "微少", 0, 1);                    // 0.0001 yen: empty
    for (int i = 0; i < 3; ++i) statement.Add(1200000 + i * 10000, "他", 0, 1);
    statement.Add(99990000, "大", 1, 7);
    statement.Add(99999999, "枝", 0, 8);
    ASSERT_EQ(Write(), 1);
    const std::vector<std::string> expected = Joined({
        AccountLines("   1", "111", "現金", "-250000"),
        AccountLines("   2", "112", "小口", "1"),
        AccountLines("   3", "113", "端数", ""),
        AccountLines("   4", "114", "上限", "999999999999"),
        AccountLines("   5", "115", "下端", "-99999999999"),
        AccountLines("   6", "116", "下限", "-99999999999"),
        AccountLines("   7", "117", "微少", ""),
        AccountLines("   8", "120", "他", "1"),
        AccountLines("   9", "121", "他", "1"),
        AccountLines("  10", "122", "他", "1"),
        AccountLines("  11", "9999", "大", "7", false),
        SubAccountLines("   1", "9999", "枝", "8"),
        {kGroupEnd},  // the last entry of the list closes its group
    });
    EXPECT_EQ(DataLines(Output()), expected);
    KeepForCheck(L"report-amounts.xml");
}

TEST_F(ReportTest, SubAccountNumbersStartAgainInEveryAccount)
{
    statement.Add(1310000, "普通預金", 1, 3);
    statement.Add(1310001, "A銀行", 0, 1);
    statement.Add(1310002, "B銀行", 0, 2);
    statement.Add(1310000, "普通預金", 1, 3);
    statement.Add(1320000, "定期預金", 1, 4);
    statement.Add(1320005, "C銀行", 0, 4);
    statement.Add(1320000, "定期預金", 1, 4);
    ASSERT_EQ(Write(), 1);
    const std::vector<std::string> expected = Joined({
        AccountLines("   1", "131", "普通預金", "3", false),
        SubAccountLines("   1", "1", "A銀行", "1"),
        SubAccountLines("   2", "2", "B銀行", "2"),
        {kGroupEnd},
        AccountLines("   2", "132", "定期預金", "4", false),
        SubAccountLines("   1", "5", "C銀行", "4"),
        {kGroupEnd},
    });
    EXPECT_EQ(DataLines(Output()), expected);
    EXPECT_EQ(progress.ticks, 1 + 6 + 3 + 3 + 7);
    KeepForCheck(L"report-groups.xml");
}

// Rows the aggregation left out: every element is still closed, no sub-account is dropped.
TEST_F(ReportTest, AccountWithoutItsSubAccountsIsClosedAtTheNextAccount)
{
    statement.Add(1310000, "普通預金", 1, 3);  // all its sub-accounts were left out
    statement.Add(1310000, "普通預金", 1, 3);  // its row after the group: not written again
    statement.Add(1320000, "定期預金", 1, 4);  // nothing follows it at all
    statement.Add(1330000, "通知預金", 0, 5);
    statement.Add(1340000, "別段預金", 1, 6);  // the last entry
    ASSERT_EQ(Write(), 1);
    const std::vector<std::string> expected = Joined({
        AccountLines("   1", "131", "普通預金", "3"),
        AccountLines("   2", "132", "定期預金", "4"),
        AccountLines("   3", "133", "通知預金", "5"),
        AccountLines("   4", "134", "別段預金", "6"),
    });
    EXPECT_EQ(DataLines(Output()), expected);
    KeepForCheck(L"report-account-without-subs.xml");
}

// Sub-accounts follow their account: under the name and balance of its row after them when
// that was kept, left out with it when neither of its rows was.
TEST_F(ReportTest, SubAccountsWithoutTheirAccountGetAGroupOfTheirOwn)
{
    statement.Add(1310001, "A銀行", 0, 1);     // its account's row was left out
    statement.Add(1310002, "B銀行", 0, 2);
    statement.Add(1310000, "普通預金", 1, 3);  // the row after the group ends it, and heads it
    statement.Add(1110000, "現金", 0, 9);
    statement.Add(1320000, "定期預金", 1, 4);
    statement.Add(1320001, "C銀行", 0, 5);
    statement.Add(1330007, "D銀行", 0, 6);     // both rows of its account left out
    statement.Add(1330008, "E銀行", 0, 8);
    statement.Add(1110001, "小口", 0, 7);      // after an account without sub-accounts
    statement.Add(1140000, "仮払金", 0, 10);
    ASSERT_EQ(Write(), 1);
    const std::vector<std::string> expected = Joined({
        AccountLines("   1", "131", "普通預金", "3", false),
        SubAccountLines("   1", "1", "A銀行", "1"),
        SubAccountLines("   2", "2", "B銀行", "2"),
        {kGroupEnd},
        AccountLines("   2", "111", "現金", "9"),
        AccountLines("   3", "132", "定期預金", "4", false),
        SubAccountLines("   1", "1", "C銀行", "5"),
        {kGroupEnd},
        AccountLines("   4", "114", "仮払金", "10"),
    });
    EXPECT_EQ(DataLines(Output()), expected);
    KeepForCheck(L"report-orphan-subs.xml");
}

TEST_F(ReportTest, MissingSupportFileGivesTheEditionDefaults)
{
    ASSERT_EQ(Write(), 1);
    const std::string text = Output();
    EXPECT_NE(text.find("\t\t<CONNECTEDPROGRAMVER>17.00.00</CONNECTEDPROGRAMVER>\r\n"), std::string::npos);
    EXPECT_NE(text.find("\t\t<PROGRAMNAME>Ledgora１７</PROGRAMNAME>\r\n"), std::string::npos);
    EXPECT_NE(text.find("\t\t<PROGRAMVER>17.00.0X</PROGRAMVER>\r\n"), std::string::npos);
}

TEST_F(ReportTest, ToFullWidthNameCutsAt32BytesOnACharacterBoundary)
{
    EXPECT_STREQ(report.ToFullWidthName("ABCDEFGHIJKLMNOPQRST"), "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰ");
    EXPECT_STREQ(report.ToFullWidthName("ｱ表表表表表表表表表表表表表表表表"), "ア表表表表表表表表表表表表表表表");
    // A control byte is a blank, which becomes a full-width one: every character is two bytes.
    const char* cut = report.ToFullWidthName("\t表表表表表表表表表表表表表表表表");
    EXPECT_STREQ(cut, "　表表表表表表表表表表表表表表表");
    EXPECT_EQ(std::strlen(cut), 32u);
    EXPECT_STREQ(report.ToFullWidthName("x\x81"), "ｘ・");
    EXPECT_STREQ(report.ToFullWidthName("AB\x81 CD"), "ＡＢ・　ＣＤ");
    EXPECT_STREQ(report.ToFullWidthName(""), "");
    EXPECT_STREQ(report.ToFullWidthName(nullptr), "");
}

}  // namespace
