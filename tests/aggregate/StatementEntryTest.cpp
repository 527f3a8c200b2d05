#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "aggregate/StatementEntry.h"

namespace {

// Copies into a field pre-filled with garbage, so that the zero fill is checked too.
std::string CopiedName(const char* source, size_t sourceSize)
{
    char name[17];
    std::memset(name, 'X', sizeof name);
    CopyEntryName(name, source, sourceSize);
    for (size_t i = std::strlen(name); i < sizeof name; ++i)
        EXPECT_EQ(name[i], '\0') << "byte " << i << " after the name is not zero";
    return name;
}

std::string CopiedName(const std::string& source)
{
    return CopiedName(source.c_str(), source.size() + 1);
}

TEST(EntryName, ShortNamesAreCopiedWhole)
{
    EXPECT_EQ(CopiedName("現金"), "現金");
    EXPECT_EQ(CopiedName("ｹﾞﾝｷﾝ A"), "ｹﾞﾝｷﾝ A");  // half-width katakana are single bytes
    EXPECT_EQ(CopiedName(""), "");
}

TEST(EntryName, SixteenBytesFitExactly)
{
    EXPECT_EQ(CopiedName("ABCDEFGHIJKLMNOP"), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(CopiedName("売掛金売掛金売掛"), "売掛金売掛金売掛");
    EXPECT_EQ(CopiedName("ABCDEFGHIJKLMNOPQ"), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(CopiedName("売掛金売掛金売掛金"), "売掛金売掛金売掛");
}

TEST(EntryName, ADoubleByteCharacterIsNeverSplitAtTheEnd)
{
    // 7 single bytes + 5 double-byte characters: the 5th would need bytes 16 and 17.
    EXPECT_EQ(CopiedName("ABCDEFG普通預金口"), "ABCDEFG普通預金");
    EXPECT_EQ(CopiedName("A売掛金売掛金売掛金"), "A売掛金売掛金売");
}

TEST(EntryName, TrailBytesThatLookLikeBackslashOrLettersStayPaired)
{
    // ソ is 0x83 0x5C and 表 is 0x95 0x5C: their second bytes are '\' in single-byte text.
    EXPECT_EQ(CopiedName("ソフトウェア"), "ソフトウェア");
    EXPECT_EQ(CopiedName("ABCDEFGソソソソソ"), "ABCDEFGソソソソ");
    EXPECT_EQ(CopiedName("ABCDEFGHIJKLMNO表"), "ABCDEFGHIJKLMNO");
    // ア is 0x83 0x41: its trail byte is 'A'.
    EXPECT_EQ(CopiedName("アアアアアアアア"), "アアアアアアアア");
}

// The report shows such a byte as "・"; what follows it is part of the name.
TEST(EntryName, ALeadByteWithoutItsTrailByteIsKeptWithTheRestOfTheName)
{
    EXPECT_EQ(CopiedName("AB\x83"), "AB\x83");
    EXPECT_EQ(CopiedName("\x83"), "\x83");
    EXPECT_EQ(CopiedName("AB\x81 CD"), "AB\x81 CD");
    EXPECT_EQ(CopiedName("ABCDEFGHIJKLMNO\x81 "), "ABCDEFGHIJKLMNO\x81");
    // Cut by the host field's size rather than by a terminator.
    const char field[4] = {'A', 'B', '\x83', '\x5C'};
    EXPECT_EQ(CopiedName(field, 3), "AB\x83");
    EXPECT_EQ(CopiedName(field, 4), "ABソ");
}

TEST(EntryName, AnUnterminatedHostFieldIsReadOnlyWithinItsSize)
{
    // A field of 20 bytes with no terminator, followed by bytes that must not be read.
    char memory[24];
    std::memset(memory, 'Z', sizeof memory);
    std::memcpy(memory, "0123456789", 10);
    EXPECT_EQ(CopiedName(memory, 10), "0123456789");
    EXPECT_EQ(CopiedName(memory, 20), "0123456789ZZZZZZ");
    EXPECT_EQ(CopiedName(memory, 0), "");
    EXPECT_EQ(CopiedName(nullptr, 20), "");
}

}  // namespace
