// INI values read from the file's own bytes, as the Windows profile functions read them.

#include <gtest/gtest.h>

#include "app/ProfileText.h"

namespace {

TEST(ProfileTextTest, FindsTheKeyOfItsSectionIgnoringCaseAndBlanks)
{
    const char text[] = "; definitions\r\n"
                        "[First]\r\n"
                        "Level=9\r\n"
                        "  [ Program Level ]  \r\n"
                        "  level  =  2 and more  \r\n";
    EXPECT_EQ(ProfileValue(text, "first", "LEVEL", "d"), "9");
    EXPECT_EQ(ProfileValue(text, "program level", "Level", "d"), "2 and more");
}

TEST(ProfileTextTest, MissingSectionKeyOrEqualsSignGivesTheDefault)
{
    const char text[] = "[A]\nkey\nother=1\n[B]\n";
    EXPECT_EQ(ProfileValue(text, "C", "other", "d"), "d");
    EXPECT_EQ(ProfileValue(text, "A", "missing", "d"), "d");
    EXPECT_EQ(ProfileValue(text, "A", "key", "d"), "d");
    EXPECT_EQ(ProfileValue(text, "B", "other", "d"), "d");
    EXPECT_EQ(ProfileValue("", "A", "key", "d"), "d");
}

TEST(ProfileTextTest, EmptyValueStaysEmptyAndOnePairOfQuotesIsRemoved)
{
    EXPECT_EQ(ProfileValue("[A]\nkey=\n", "A", "key", "d"), "");
    EXPECT_EQ(ProfileValue("[A]\nkey=\" x \"\n", "A", "key", "d"), " x ");
    EXPECT_EQ(ProfileValue("[A]\nkey='x\"\n", "A", "key", "d"), "'x\"");
}

TEST(ProfileTextTest, OnlyTheFirstSectionOfANameCountsAndItsFirstKey)
{
    const char text[] = "[A]\nkey=1\nkey=2\n[A]\nkey=3\nnext=4\n";
    EXPECT_EQ(ProfileValue(text, "A", "key", "d"), "1");
    EXPECT_EQ(ProfileValue(text, "A", "next", "d"), "d");
}

// "ソ" (0x83 0x5C) and "ﾝ]"-like pairs: a second byte that looks like ']' or '=' is part of
// its character.
TEST(ProfileTextTest, DoubleByteCharactersAreReadWhole)
{
    const std::string bracketTrail = "\x81\x5D";  // a character whose second byte is ']'
    const std::string text = "[" + bracketTrail + "x]\nkey=\x83\x5C\n";
    EXPECT_EQ(ProfileValue(text, bracketTrail + "x", "key", "d"), "\x83\x5C");
    EXPECT_EQ(ProfileValue(text, "\x81", "key", "d"), "d");
}

TEST(ProfileTextTest, UnreadableFileGivesTheDefault)
{
    EXPECT_EQ(ReadProfileValue("Z:\\no\\such\\folder\\x.ini", "A", "key", "1"), "1");
}

}  // namespace
