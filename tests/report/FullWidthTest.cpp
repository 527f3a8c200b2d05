// The full-width mapping of the company name, over every half-width character code page 932
// has, alone and with a following voicing mark, whatever the platform's own mapping does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/CodePage.h"
#include "framework/FullWidth.h"
#include "report/FullWidthText.h"

namespace {

// The expectations, written out: full-width forms of 0xA1 to 0xDF in code order.
const char* const kKana[] = {
    "。", "「", "」", "、", "・", "ヲ", "ァ", "ィ", "ゥ", "ェ", "ォ", "ャ", "ュ", "ョ", "ッ", "ー",
    "ア", "イ", "ウ", "エ", "オ", "カ", "キ", "ク", "ケ", "コ", "サ", "シ", "ス", "セ", "ソ",
    "タ", "チ", "ツ", "テ", "ト", "ナ", "ニ", "ヌ", "ネ", "ノ", "ハ", "ヒ", "フ", "ヘ", "ホ",
    "マ", "ミ", "ム", "メ", "モ", "ヤ", "ユ", "ヨ", "ラ", "リ", "ル", "レ", "ロ", "ワ", "ン", "゛", "゜"};
static_assert(sizeof kKana / sizeof kKana[0] == 0xDF - 0xA1 + 1);

// The katakana that compose with a voicing mark, and what they become.
struct Composition {
    const char* kana;
    const char* voiced;      // with ﾞ, or null
    const char* semiVoiced;  // with ﾟ, or null
};
const Composition kCompositions[] = {
    {"ウ", "ヴ", nullptr}, {"カ", "ガ", nullptr}, {"キ", "ギ", nullptr}, {"ク", "グ", nullptr},
    {"ケ", "ゲ", nullptr}, {"コ", "ゴ", nullptr}, {"サ", "ザ", nullptr}, {"シ", "ジ", nullptr},
    {"ス", "ズ", nullptr}, {"セ", "ゼ", nullptr}, {"ソ", "ゾ", nullptr}, {"タ", "ダ", nullptr},
    {"チ", "ヂ", nullptr}, {"ツ", "ヅ", nullptr}, {"テ", "デ", nullptr}, {"ト", "ド", nullptr},
    {"ハ", "バ", "パ"},    {"ヒ", "ビ", "ピ"},    {"フ", "ブ", "プ"},    {"ヘ", "ベ", "ペ"},
    {"ホ", "ボ", "ポ"}};

const Composition* CompositionOf(const std::string& kana)
{
    for (const Composition& c : kCompositions) {
        if (kana == c.kana) return &c;
    }
    return nullptr;
}

std::string Byte(int value)
{
    return std::string(1, static_cast<char>(value));
}

std::string Hex(const std::string& bytes)
{
    std::string hex;
    char piece[4];
    for (unsigned char b : bytes) {
        snprintf(piece, sizeof piece, "%02X ", b);
        hex += piece;
    }
    return hex;
}

// Every unit the table maps: each half-width character, and each katakana with either mark.
std::vector<std::string> HalfWidthUnits()
{
    std::vector<std::string> units;
    for (int c = 0x20; c <= 0x7E; ++c) units.push_back(Byte(c));
    for (int c = 0xA1; c <= 0xDF; ++c) {
        units.push_back(Byte(c));
        if (c >= 0xDE) continue;
        units.push_back(Byte(c) + "\xDE");
        units.push_back(Byte(c) + "\xDF");
    }
    return units;
}

// The platform's own mapping as code page 932, its lone combining marks as the spacing ones;
// empty where some character has no code page 932 form or stays single-byte.
std::string PlatformFullWidth(const std::string& unit)
{
    std::wstring mapped = MapToFullWidth(WideFromCp932(unit));
    for (wchar_t& c : mapped) {
        if (c == L'\x3099') c = L'゛';
        if (c == L'\x309A') c = L'゜';
    }
    std::string bytes;
    if (!Cp932FromWide(mapped, bytes)) return {};
    for (size_t pos = 0; pos < bytes.size(); pos += 2) {
        if (Cp932CharLength(bytes, pos) != 2) return {};
    }
    return bytes;
}

// The table stands in for the platform's mapping, which the company name once went through
// unit by unit: wherever the platform's answer is full-width code page 932 text of as many
// characters, the two agree.
TEST(FullWidth, TableAgreesWithThePlatformWhereverItsAnswerFits)
{
    int compared = 0;
    for (const std::string& unit : HalfWidthUnits()) {
        const std::string platform = PlatformFullWidth(unit);
        const std::string table = FullWidthCp932(unit);
        if (platform.empty() || platform.size() != table.size()) continue;
        ++compared;
        EXPECT_EQ(table, platform) << "unit " << Hex(unit);
    }
    EXPECT_GE(compared, 270) << "of " << HalfWidthUnits().size() << " units";
}

TEST(FullWidth, EveryPrintableAsciiCharacter)
{
    EXPECT_EQ(FullWidthCp932(" "), "　");
    for (int c = 0x21; c <= 0x7E; ++c) {
        std::string expected;
        ASSERT_TRUE(Cp932FromWide(std::wstring(1, static_cast<wchar_t>(0xFF01 + c - 0x21)), expected));
        EXPECT_EQ(FullWidthCp932(Byte(c)), expected) << "character 0x" << std::hex << c;
    }
    // Those Wine leaves alone, by name.
    EXPECT_EQ(FullWidthCp932("\\"), "＼");
    EXPECT_EQ(FullWidthCp932("~"), "～");
    EXPECT_EQ(FullWidthCp932("A&B<C>\"D'"), "Ａ＆Ｂ＜Ｃ＞＂Ｄ＇");
}

TEST(FullWidth, EveryHalfWidthKatakanaAloneAndWithEitherMark)
{
    for (int c = 0xA1; c <= 0xDF; ++c) {
        const std::string kana = kKana[c - 0xA1];
        EXPECT_EQ(FullWidthCp932(Byte(c)), kana) << "0x" << std::hex << c;
        if (c >= 0xDE) continue;  // the marks themselves: below
        const Composition* composition = CompositionOf(kana);
        const std::string voiced = composition && composition->voiced ? composition->voiced : kana + "゛";
        const std::string semiVoiced =
            composition && composition->semiVoiced ? composition->semiVoiced : kana + "゜";
        const std::string gotVoiced = FullWidthCp932(Byte(c) + "\xDE");
        const std::string gotSemiVoiced = FullWidthCp932(Byte(c) + "\xDF");
        EXPECT_EQ(gotVoiced, voiced) << "0x" << std::hex << c << " + DE gave " << Hex(gotVoiced);
        EXPECT_EQ(gotSemiVoiced, semiVoiced) << "0x" << std::hex << c << " + DF gave " << Hex(gotSemiVoiced);
    }
}

TEST(FullWidth, MarksThatComposeWithNothingBecomeSpacingMarks)
{
    EXPECT_EQ(FullWidthCp932("\xDE"), "゛");
    EXPECT_EQ(FullWidthCp932("\xDF"), "゜");
    EXPECT_EQ(FullWidthCp932("\xDE\xDF\xDE"), "゛゜゛");
    EXPECT_EQ(FullWidthCp932("A\xDE"), "Ａ゛");
    EXPECT_EQ(FullWidthCp932("\xB6\xDE\xDE"), "ガ゛");   // one mark composes, the second is alone
    EXPECT_EQ(FullWidthCp932("表\xDE"), "表゛");
    EXPECT_EQ(FullWidthCp932("\xCA\xDF\xB0\xC4"), "パート");
}

TEST(FullWidth, DoubleByteAndOtherBytesStayAsTheyAre)
{
    // Second bytes 0x5C and 0x7C, code page 932's own extensions, a character with two codes.
    const std::string doubleByte = "ソ表ポ｜㈱\xED\x40\xFA\x5C";
    EXPECT_EQ(FullWidthCp932(doubleByte), doubleByte);
    EXPECT_EQ(FullWidthCp932("\t\x7F\x80\xA0\xFD"), "\t\x7F\x80\xA0\xFD");
    // Half a double-byte character: never glued to what follows.
    EXPECT_EQ(FullWidthCp932("\x81 "), "・　");
    EXPECT_EQ(FullWidthCp932("a\x81"), "ａ・");
    EXPECT_EQ(FullWidthCp932(""), "");
}

}  // namespace
