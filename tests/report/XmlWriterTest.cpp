// The XML writer's lines, escaping, limits and failures, on real files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/CodePage.h"
#include "framework/ReplacementFile.h"
#include "report/XmlWriter.h"
#include "tests/report/ReportTestSupport.h"

namespace {

class XmlWriterTest : public ::testing::Test {
protected:
    XmlWriterTest() { Cp932FromWide(folder / L"lines.txt", path); }

    // What the writer's lines put in the file, once the file is committed.
    std::string Committed()
    {
        EXPECT_TRUE(file.Commit());
        writer.Close();
        return ReadFileBytes(folder / L"lines.txt");
    }

    TempFolder folder;
    std::string path;
    CReplacementFile file;
    XmlWriter writer;
    char line[256] = {};
};

TEST_F(XmlWriterTest, LinesAreIndentedWithTabsAndEndInCrLf)
{
    ASSERT_EQ(writer.Open(&file, path.c_str()), 0);
    EXPECT_EQ(writer.StartElement(line, "REPORT", 0), 1);
    EXPECT_EQ(writer.StartElement(line, "KANJYOKAMOKU", 2, "Count", "   1"), 1);
    EXPECT_STREQ(line, "\t\t<KANJYOKAMOKU Count=\"   1\">\r\n");  // the line is built in the caller's buffer
    EXPECT_EQ(writer.WriteElement(line, "VERSION", "1", 2), 1);
    EXPECT_EQ(writer.WriteElement(line, "KANJYOKAMOKU_ZANDAKA", "", 3), 1);
    EXPECT_EQ(writer.WriteElement(line, "NEG", "x", -3), 1);
    EXPECT_EQ(writer.EndElement(line, "REPORT", 0), 1);
    EXPECT_EQ(writer.WriteRaw("raw"), 1);
    EXPECT_EQ(Committed(),
              "<REPORT>\r\n"
              "\t\t<KANJYOKAMOKU Count=\"   1\">\r\n"
              "\t\t<VERSION>1</VERSION>\r\n"
              "\t\t\t<KANJYOKAMOKU_ZANDAKA></KANJYOKAMOKU_ZANDAKA>\r\n"
              "<NEG>x</NEG>\r\n"
              "</REPORT>\r\n"
              "raw");
}

TEST_F(XmlWriterTest, AttributesNeedNameAndValueAndTheSecondNeedsTheFirst)
{
    ASSERT_EQ(writer.Open(&file, path.c_str()), 0);
    writer.StartElement(line, "A", 0, "a", "1", "b", "2");
    writer.StartElement(line, "B", 0, "a", nullptr, "b", "2");
    writer.StartElement(line, "C", 0, nullptr, "1", "b", "2");
    writer.StartElement(line, "D", 0, "a", "1", "b", nullptr);
    writer.WriteElement(line, "E", "t", 1, "a", "<&>", "b", "\"'");
    EXPECT_EQ(Committed(),
              "<A a=\"1\" b=\"2\">\r\n"
              "<B>\r\n"
              "<C>\r\n"
              "<D a=\"1\">\r\n"
              "\t<E a=\"&lt;&amp;&gt;\" b=\"&quot;&apos;\">t</E>\r\n");
}

TEST_F(XmlWriterTest, EscapeReplacesTheFiveInOnePass)
{
    EXPECT_STREQ(writer.Escape("A&B <C>"), "A&amp;B &lt;C&gt;");
    EXPECT_STREQ(writer.Escape("say \"it's\""), "say &quot;it&apos;s&quot;");
    EXPECT_STREQ(writer.Escape("&amp;"), "&amp;amp;");
    // Second bytes 0x5C and 0x7C are no characters of their own.
    EXPECT_STREQ(writer.Escape("ソ表ポ｜十"), "ソ表ポ｜十");
    // Bytes no reader takes: a control byte is a blank, half a character or no character "・".
    EXPECT_STREQ(writer.Escape("a\x01<\x81 b\x7F\tc\xFF"), "a &lt;・ b  c・");
    EXPECT_STREQ(writer.Escape(""), "");
    EXPECT_STREQ(writer.Escape(nullptr), "");
}

TEST_F(XmlWriterTest, EscapeStaysWithin255BytesOnWholeUnits)
{
    const std::string ampersands(100, '&');  // 500 bytes escaped
    const char* escaped = writer.Escape(ampersands.c_str());
    EXPECT_EQ(std::strlen(escaped), 255u);  // 51 whole entities
    EXPECT_EQ(std::string(escaped).substr(250), "&amp;");

    std::string kanji = "x";
    for (int i = 0; i < 200; ++i) kanji += "表";
    escaped = writer.Escape(kanji.c_str());
    EXPECT_EQ(std::strlen(escaped), 255u);  // "x" and 127 whole characters
    EXPECT_EQ(std::string(escaped), kanji.substr(0, 255));

    const std::string lead = "xx" + std::string(300, '\x81');  // lead bytes without partners
    escaped = writer.Escape(lead.c_str());
    EXPECT_LE(std::strlen(escaped), 255u);

    std::string lone;  // each lead byte without its partner grows into "・"
    for (int i = 0; i < 200; ++i) lone += "\x81 ";
    escaped = writer.Escape(lone.c_str());
    EXPECT_EQ(std::strlen(escaped), 255u);  // 85 whole "・ "
    EXPECT_EQ(std::string(escaped).substr(249), "・ ・ ");
}

TEST_F(XmlWriterTest, LongTextIsCutSoTheLineKeepsItsEnd)
{
    ASSERT_EQ(writer.Open(&file, path.c_str()), 0);
    const std::string text(400, '&');
    EXPECT_EQ(writer.WriteElement(line, "PROGRAMNAME", text.c_str(), 2), 1);
    const std::string written(line);
    EXPECT_LE(written.size(), 255u);
    EXPECT_EQ(written.substr(written.size() - 16), "</PROGRAMNAME>\r\n");
    // 224 bytes of text fit: 44 entities (220 bytes), never part of one.
    EXPECT_EQ(written, "\t\t<PROGRAMNAME>" + [] { std::string s; for (int i = 0; i < 44; ++i) s += "&amp;"; return s; }() +
                           "</PROGRAMNAME>\r\n");

    char small[8];
    EXPECT_EQ(writer.StartElement(small, "TOOLONGNAME", 0), 0);  // not even the tag fits
    EXPECT_EQ(writer.EndElement(std::span<char>(), "A", 0), 0);
    EXPECT_EQ(writer.WriteRaw("end"), 1) << "a refused line does not spoil the writer";
    EXPECT_EQ(Committed(), written + "end");
}

TEST_F(XmlWriterTest, OpenNeedsBothArguments)
{
    EXPECT_EQ(writer.Open(nullptr, path.c_str()), -1);
    EXPECT_EQ(writer.Open(&file, nullptr), -1);
    EXPECT_EQ(writer.file, nullptr);
    EXPECT_EQ(writer.WriteRaw("x"), 0);
    EXPECT_EQ(writer.Close(), 0);
}

TEST_F(XmlWriterTest, FileThatCannotBeCreatedFailsEveryWrite)
{
    std::string missing;
    Cp932FromWide(folder / L"missing\\out.xml", missing);
    EXPECT_EQ(writer.Open(&file, missing.c_str()), 0);
    EXPECT_EQ(writer.WriteRaw("x"), 0);
    EXPECT_EQ(writer.StartElement(line, "REPORT", 0), 0);
    EXPECT_EQ(writer.WriteElement(line, "A", "b", 1), 0);
    EXPECT_EQ(writer.EndElement(line, "REPORT", 0), 0);
    EXPECT_EQ(writer.Close(), 0);
    EXPECT_EQ(writer.Close(), 0);
    EXPECT_FALSE(file.Commit());
    EXPECT_TRUE(FolderNames(folder.Path()).empty());
}

TEST_F(XmlWriterTest, CloseGivesUpAnUncommittedFile)
{
    ASSERT_EQ(writer.Open(&file, path.c_str()), 0);
    EXPECT_EQ(writer.WriteRaw("x"), 1);
    EXPECT_EQ(FolderNames(folder.Path()).size(), 1u);  // the fresh file
    EXPECT_EQ(writer.Close(), 0);
    EXPECT_EQ(writer.file, nullptr);
    EXPECT_FALSE(file.Commit());
    EXPECT_TRUE(FolderNames(folder.Path()).empty());
}

}  // namespace
