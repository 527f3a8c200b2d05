// The support information file, read from the current directory.
#include <gtest/gtest.h>

#include <string>

#include "report/SupportInfo.h"
#include "tests/report/ReportTestSupport.h"

namespace {

class SupportInfoTest : public ::testing::Test {
protected:
    void WriteSupportFile(const std::string& bytes) { ASSERT_TRUE(WriteFileBytes(folder / L"SUPPORT.INF", bytes)); }

    TempFolder folder;
    CurrentFolder current{folder.Path()};
    SupportInfo info;
};

TEST_F(SupportInfoTest, NoFileGivesEmptyValues)
{
    EXPECT_EQ(info.Load(), 0);
    EXPECT_STREQ(info.GetProductName(), "");
    EXPECT_STREQ(info.GetProductVersion(), "");
    EXPECT_EQ(info.Load(), 1);  // the block is there; the file is not read again
}

TEST_F(SupportInfoTest, ValuesEndAtTheirLineEnd)
{
    WriteSupportFile("[=ﾒﾃﾞｨｱ=]CD\r\n[=製品名=] Ledgora１７ Vantel \r\n[=TEL=]03\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]17.02.01");
    EXPECT_EQ(info.Load(), 1);
    EXPECT_STREQ(info.GetProductName(), " Ledgora１７ Vantel ");  // blanks after the key belong to it
    EXPECT_STREQ(info.GetProductVersion(), "17.02.01");         // up to the end of the content
}

TEST_F(SupportInfoTest, FirstOccurrenceWinsAndEndOfFileMarkEnds)
{
    WriteSupportFile("[=製品名=]\r\n[=製品名=]second\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]1.0\x1A[=製品ﾊﾞｰｼﾞｮﾝ=]2.0\r\n");
    EXPECT_STREQ(info.GetProductName(), "");  // the key on a line of its own: an empty value
    EXPECT_STREQ(info.GetProductVersion(), "1.0");
}

TEST_F(SupportInfoTest, BareLineEndsEndValuesToo)
{
    WriteSupportFile("[=製品名=]Ledgora\n[=製品ﾊﾞｰｼﾞｮﾝ=]17.00.05\r[=TEL=]03\n");
    EXPECT_STREQ(info.GetProductName(), "Ledgora");
    EXPECT_STREQ(info.GetProductVersion(), "17.00.05");
}

TEST_F(SupportInfoTest, KeyIsFoundOnlyAtACharacterBoundary)
{
    // "ー" is 0x81 0x5B: its second byte is "[", which must not start a key.
    WriteSupportFile("ー=製品名=]wrong\r\n[=製品名=]right\r\n");
    EXPECT_STREQ(info.GetProductName(), "right");
}

TEST_F(SupportInfoTest, OnlyTheFirst30000BytesAreLookedAt)
{
    std::string content(SupportInfo::kBlockBytes - 12, ' ');
    content += "[=製品名=]abcdef";  // the key ends 2 bytes before the limit
    content += "\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]9\r\n";
    WriteSupportFile(content);
    EXPECT_STREQ(info.GetProductName(), "ab");
    EXPECT_STREQ(info.GetProductVersion(), "");
}

}  // namespace
