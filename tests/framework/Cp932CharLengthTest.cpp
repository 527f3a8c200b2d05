// The one CP932 character step, and the scanners built on it: a double-byte character is one
// unit wherever its second byte could be mistaken for a character of its own.
#include <gtest/gtest.h>

#include <string_view>

#include "framework/CodePage.h"
#include "framework/FileSystem.h"

using namespace std::string_view_literals;

TEST(Cp932CharLength, CountsWholeCharacters)
{
    const std::string_view text = "aソb"sv;   // 'a', 0x83 0x5C, 'b'
    EXPECT_EQ(Cp932CharLength(text, 0), 1u);
    EXPECT_EQ(Cp932CharLength(text, 1), 2u);   // the 0x5C trail byte belongs to the character
    EXPECT_EQ(Cp932CharLength(text, 3), 1u);
    EXPECT_EQ(Cp932CharLength(text, 4), 0u);   // at the end
    EXPECT_EQ(Cp932CharLength(text, 9), 0u);   // past it
    EXPECT_EQ(Cp932CharLength("\xB1"sv, 0), 1u);   // half-width katakana is one byte
}

TEST(Cp932CharLength, LeadByteWithoutPartnerIsOneByte)
{
    EXPECT_EQ(Cp932CharLength("a\x83"sv, 1), 1u);       // cut off by the end
    EXPECT_EQ(Cp932CharLength("\x83\0x"sv, 0), 1u);     // before a terminator
    EXPECT_EQ(Cp932CharLength("\x83 x"sv, 0), 1u);      // before a byte that cannot follow it
    EXPECT_EQ(Cp932CharLength("\x83\x7F"sv, 0), 1u);
    EXPECT_EQ(Cp932CharLength("\x83\xFD"sv, 0), 1u);
    EXPECT_EQ(Cp932CharLength("\x83\x40"sv, 0), 2u);    // the smallest second byte
    EXPECT_EQ(Cp932CharLength("\x83\xFC"sv, 0), 2u);    // the largest
}

TEST(Cp932CharLength, ScannersDoNotSplitCharacters)
{
    // The 0x5C of "表" is not a folder separator.
    EXPECT_EQ(FolderOfPath("C:\\表"), CString("C:\\"));
    EXPECT_EQ(FolderOfPath("C:\\dir\\表\\x"), CString("C:\\dir\\表\\"));
    EXPECT_TRUE(EndsWithCp932Backslash("C:\\表\\"));
    EXPECT_TRUE(EndsWithCp932Backslash("\\"));
    EXPECT_TRUE(EndsWithCp932Backslash("\x83 \\"sv));   // a lead byte without its partner is one byte
    EXPECT_FALSE(EndsWithCp932Backslash("C:\\表"));      // 0x95 0x5C
    EXPECT_FALSE(EndsWithCp932Backslash("C:\\dir"));
    EXPECT_FALSE(EndsWithCp932Backslash(""));
    // A lone lead byte at the very end is the undecodable character, not a lost byte.
    EXPECT_EQ(WideFromCp932("ソ\x83"), std::wstring(L"ソ\x30FB"));
    EXPECT_EQ(WideFromCp932("\x83\\"), std::wstring(L"ソ"));
}

TEST(Cp932CharLength, BoundedCopyNeverEndsInHalfACharacter)
{
    char buffer[8];
    EXPECT_EQ(CopyCp932Text(buffer, sizeof buffer, "ab\x83 cd", 6), 2u);   // no character at 0x83 0x20
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(CopyCp932Text(buffer, sizeof buffer, "aソ\x83", 4), 3u);     // lone lead at the end
    EXPECT_STREQ(buffer, "aソ");
    EXPECT_EQ(CopyCp932Text(buffer, 4, "abソ", 4), 2u);                    // ソ would end past 3 bytes
    EXPECT_STREQ(buffer, "ab");
}
