// Code page 932 conversions and CString: the bytes the program holds and the UTF-16 text
// Windows shows must correspond exactly, whatever the process's ANSI code page.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/CodePage.h"
#include "framework/String.h"

namespace {

std::string RoundTrip(const std::string& bytes)
{
    std::string back;
    EXPECT_TRUE(Cp932FromWide(WideFromCp932(bytes), back)) << "for " << bytes;
    return back;
}

}  // namespace

#ifdef BRIDGE_MANIFEST_UTF8
TEST(ProcessCodePage, IsUtf8InThisRun)
{
    // Without this the second run would prove nothing.
    EXPECT_EQ(GetACP(), 65001u);
    EXPECT_FALSE(IsDBCSLeadByte(0x83));
}
#endif

TEST(CodePage, LeadBytesAreThoseOfCp932WhateverTheAnsiCodePage)
{
    EXPECT_TRUE(IsCp932LeadByte(0x83));
    EXPECT_TRUE(IsCp932LeadByte(0x81));
    EXPECT_TRUE(IsCp932LeadByte(0x9F));
    EXPECT_TRUE(IsCp932LeadByte(0xE0));
    EXPECT_TRUE(IsCp932LeadByte(0xFC));
    EXPECT_FALSE(IsCp932LeadByte('A'));
    EXPECT_FALSE(IsCp932LeadByte(0x5C));
    EXPECT_FALSE(IsCp932LeadByte(0x80));
    EXPECT_FALSE(IsCp932LeadByte(0xA0));
    EXPECT_FALSE(IsCp932LeadByte(0xB1));  // half-width katakana are single bytes
}

TEST(CodePage, LeadBytesAgreeWithTheSystemsCp932Table)
{
    for (int byte = 0; byte < 256; ++byte) {
        const auto value = static_cast<unsigned char>(byte);
        EXPECT_EQ(IsCp932LeadByte(value), IsDBCSLeadByteEx(932, value) != FALSE) << byte;
    }
}

TEST(CodePage, CharactersWhoseSecondByteIsABackslashConvertWhole)
{
    // Literals are CP932 in the program: check the bytes first, then both directions.
    EXPECT_EQ(std::string("ソ表十能"), std::string("\x83\x5C\x95\x5C\x8F\x5C\x94\x5C"));
    EXPECT_EQ(WideFromCp932("ソ表十能\\"), L"ソ表十能\\");
    EXPECT_EQ(RoundTrip("C:\\ソフト\\表計算\\十能.xml"), "C:\\ソフト\\表計算\\十能.xml");
}

TEST(CodePage, NecAndIbmExtensionsRoundTrip)
{
    EXPECT_EQ(std::string("㈱"), std::string("\x87\x8A"));
    EXPECT_EQ(WideFromCp932("\x87\x8A"), L"\x3231");
    EXPECT_EQ(RoundTrip("㈱①Ⅹ№㍻"), "㈱①Ⅹ№㍻");
    EXPECT_EQ(RoundTrip("ｶﾀｶﾅ ABC 漢字"), "ｶﾀｶﾅ ABC 漢字");
}

TEST(CodePage, LoneLeadByteAtTheEndIsNotReadPast)
{
    std::string text = "ア\x83";
    EXPECT_EQ(WideFromCp932(text), L"ア\x30FB");
    // A backslash after a lead byte belongs to the character, so nothing is lone here.
    EXPECT_EQ(WideFromCp932("ア\x83\x5C"), L"アソ");
    EXPECT_EQ(WideFromCp932("\x83"), L"\x30FB");
}

TEST(CodePage, EmbeddedNulAndEmptyTextsConvert)
{
    EXPECT_EQ(WideFromCp932(""), L"");
    EXPECT_EQ(WideFromCp932(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
    std::string out = "old";
    EXPECT_TRUE(Cp932FromWide(L"", out));
    EXPECT_EQ(out, "");
}

TEST(CodePage, UnconvertibleCharactersAreReportedAndReplaced)
{
    std::string out;
    EXPECT_FALSE(Cp932FromWide(L"a\x20AC" L"b", out));  // the euro sign has no CP932 form
    EXPECT_EQ(out, "a?b");
    EXPECT_FALSE(Cp932FromWide(L"\xD83D\xDE00", out));  // outside the BMP
    EXPECT_FALSE(Cp932FromWide(L"x\xD800y", out));       // an unpaired surrogate
    // No look-alike: the yen sign must not quietly become a backslash.
    EXPECT_FALSE(Cp932FromWide(L"\x00A5", out));
    EXPECT_NE(out, "\\");
}

TEST(CString, BuildsFromPointersAndLengths)
{
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString(nullptr).IsEmpty());
    EXPECT_EQ(CString("abcdef", 3), "abc");
    EXPECT_TRUE(CString("abc", 0).IsEmpty());
    EXPECT_TRUE(CString("abc", -1).IsEmpty());

    CString text("表");
    EXPECT_EQ(text.GetLength(), 2);  // bytes, not characters
    text += "計";
    text += nullptr;
    EXPECT_EQ(text, "表計");
    EXPECT_TRUE("表計" == text);
    EXPECT_TRUE(text != "表");
    text = nullptr;
    EXPECT_TRUE(text.IsEmpty());
}

TEST(CString, AssignsFromItsOwnText)
{
    CString text("abcdef");
    text = static_cast<const char*>(text) + 2;
    EXPECT_EQ(text, "cdef");
}

TEST(CString, FormatsTextsOfAnyLength)
{
    const std::string longName(5000, 'x');
    CString text;
    text.Format(" %s|%d|%04d/%02d", longName.c_str(), -42, 2002, 1);
    EXPECT_EQ(text.GetLength(), 1 + 5000 + 12);
    EXPECT_EQ(std::string(text), " " + longName + "|-42|2002/01");

    text.Format("集計中 %d％", 55);
    EXPECT_EQ(text, "集計中 55％");
    text.Format("%s", "");
    EXPECT_TRUE(text.IsEmpty());
}

TEST(CString, FormatMayUseItsOwnTextAsAnArgument)
{
    CString text("ソ表");
    text.Format("[%s][%s]", static_cast<const char*>(text), static_cast<const char*>(text));
    EXPECT_EQ(text, "[ソ表][ソ表]");
}

TEST(CodePage, CopiesIntoFixedBuffersWholeCharactersOnly)
{
    char buffer[6];
    EXPECT_EQ(CopyCp932Text(buffer, sizeof buffer, "ソ表十", 6), 4u);  // the third would end past 5 bytes
    EXPECT_STREQ(buffer, "ソ表");
    EXPECT_EQ(CopyCp932Text(buffer, sizeof buffer, "abcdefgh", 8), 5u);
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_EQ(CopyCp932Text(buffer, sizeof buffer, "aソ表", 5), 5u);
    EXPECT_STREQ(buffer, "aソ表");

    // A source that is a fixed field: the copy stops at its NUL or at its end.
    const char field[4] = {'a', '\x83', '\x5C', 'b'};  // no terminator
    EXPECT_EQ(CopyCp932Text(buffer, sizeof buffer, field, sizeof field), 4u);
    EXPECT_EQ(std::string(buffer), "aソb");
    EXPECT_EQ(CopyCp932Text(buffer, sizeof buffer, field, 2), 1u);  // half a character is left out
    EXPECT_STREQ(buffer, "a");
    EXPECT_EQ(CopyCp932Text(buffer, sizeof buffer, "x\0yz", 4), 1u);
    EXPECT_EQ(CopyCp932Text(buffer, sizeof buffer, nullptr, 4), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(CopyCp932Text(buffer, 1, "abc", 3), 0u);
    EXPECT_STREQ(buffer, "");
}
