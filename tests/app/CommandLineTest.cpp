// The host's command line: which fields a run takes from it, and what an incomplete or odd
// line leaves in place.

#include <gtest/gtest.h>

#include <string>

#include "app/BridgeApp.h"

namespace {

HWND Handle(intptr_t value)
{
    return reinterpret_cast<HWND>(value);
}

TEST(CommandLineTest, CompleteLineFillsEveryFieldAndTakesThePathWholeWithItsCommas)
{
    CBridgeApp app;
    EXPECT_EQ(app.ParseCommandLine("1312,32771,7,D:\\OUT\\A,B,C.xml"), 1);
    EXPECT_EQ(app.m_hHostWnd, Handle(1312));
    EXPECT_EQ(app.m_nNotifyMsg, 32771u);
    EXPECT_EQ(app.m_nFunctionId, 7);
    EXPECT_EQ(std::string(app.m_strHostPath), "D:\\OUT\\A,B,C.xml");
}

TEST(CommandLineTest, TrailingCommaIsCompleteWithoutAPath)
{
    CBridgeApp app;
    EXPECT_EQ(app.ParseCommandLine("1312,32771,1,"), 1);
    EXPECT_EQ(app.m_hHostWnd, Handle(1312));
    EXPECT_TRUE(app.m_strHostPath.IsEmpty());
}

TEST(CommandLineTest, IncompleteLineKeepsTheFieldsReadBeforeItsMissingComma)
{
    CBridgeApp noLine;
    EXPECT_EQ(noLine.ParseCommandLine(""), 0);
    EXPECT_EQ(noLine.ParseCommandLine(nullptr), 0);
    EXPECT_EQ(noLine.m_hHostWnd, nullptr);
    EXPECT_EQ(noLine.m_nNotifyMsg, 0u);
    EXPECT_EQ(noLine.m_nFunctionId, 1);

    CBridgeApp oneField;
    EXPECT_EQ(oneField.ParseCommandLine("1312"), 0);
    EXPECT_EQ(oneField.m_hHostWnd, nullptr);

    CBridgeApp threeFields;
    EXPECT_EQ(threeFields.ParseCommandLine("1312,32771,9"), 0);
    EXPECT_EQ(threeFields.m_hHostWnd, Handle(1312));
    EXPECT_EQ(threeFields.m_nNotifyMsg, 32771u);
    EXPECT_EQ(threeFields.m_nFunctionId, 1) << "the third field counts only with its comma";
}

TEST(CommandLineTest, NumbersAreReadFromTheirLeadingDigits)
{
    CBridgeApp app;
    EXPECT_EQ(app.ParseCommandLine("abc,12x,-3z,"), 1);
    EXPECT_EQ(app.m_hHostWnd, nullptr);
    EXPECT_EQ(app.m_nNotifyMsg, 12u);
    EXPECT_EQ(app.m_nFunctionId, -3);

    CBridgeApp blanks;
    EXPECT_EQ(blanks.ParseCommandLine(" 66, +32771 ,,"), 1);
    EXPECT_EQ(blanks.m_hHostWnd, Handle(66));
    EXPECT_EQ(blanks.m_nNotifyMsg, 32771u);
    EXPECT_EQ(blanks.m_nFunctionId, 0);
}

// Values beyond the fields' ranges give fixed results: numbers hold at the ends of the long
// (and int) range, the function id keeps the low 16 bits of its int.
TEST(CommandLineTest, OversizedNumbersGiveFixedValues)
{
    CBridgeApp wrapped;
    EXPECT_EQ(wrapped.ParseCommandLine("1,2,65537,"), 1);
    EXPECT_EQ(wrapped.m_nFunctionId, 1);
    EXPECT_EQ(wrapped.ParseCommandLine("1,2,32768,"), 1);
    EXPECT_EQ(wrapped.m_nFunctionId, -32768);

    CBridgeApp huge;
    EXPECT_EQ(huge.ParseCommandLine("99999999999999999999,-99999999999999999999,99999999999999999999,"), 1);
    EXPECT_EQ(huge.m_hHostWnd, Handle(2147483647));
    EXPECT_EQ(huge.m_nNotifyMsg, 0x80000000u);
    EXPECT_EQ(huge.m_nFunctionId, -1) << "INT_MAX in 16 bits";
}

TEST(CommandLineTest, FieldsKeepTheirMeaningWhateverTheLineLength)
{
    const std::string zeros(300, '0');
    CBridgeApp app;
    EXPECT_EQ(app.ParseCommandLine((zeros + "1312," + zeros + "32771," + zeros + "7,").c_str()), 1);
    EXPECT_EQ(app.m_hHostWnd, Handle(1312));
    EXPECT_EQ(app.m_nNotifyMsg, 32771u);
    EXPECT_EQ(app.m_nFunctionId, 7);
}

TEST(CommandLineTest, LongPathIsKeptWholeNotCut)
{
    const std::string path = "C:\\" + std::string(600, 'x') + ".xml";
    CBridgeApp app;
    EXPECT_EQ(app.ParseCommandLine(("1312,32771,1," + path).c_str()), 1);
    EXPECT_EQ(std::string(app.m_strHostPath), path);
}

}  // namespace
