// What the stand-in accepts as a number or as UTF-8 in its data files: exactly what a person
// means, refused otherwise - nothing half-read, nothing taken past a stray character.

#include <gtest/gtest.h>

#include <string>

#include "host/standin/Utf8.h"
#include "host/standin/ValueText.h"

using standin::AmountProblem;

TEST(ValueText, IntegersAreWholeSignedDecimalsWithinTheirRange)
{
    int64_t value = 99;
    EXPECT_TRUE(standin::ParseInteger("+7", -10, 10, value));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(standin::ParseInteger("-9223372036854775808", INT64_MIN, INT64_MAX, value));
    EXPECT_EQ(value, INT64_MIN);
    value = 99;
    for (const char* bad : {"", "+", "-", "+-1", "-+1", " 1", "1 ", "1x", "0x10", "11", "9223372036854775808"}) {
        EXPECT_FALSE(standin::ParseInteger(bad, -10, 10, value)) << bad;
    }
    EXPECT_FALSE(standin::ParseInteger("99999999999999999999", INT64_MIN, INT64_MAX, value));
    EXPECT_EQ(value, 99);   // a refused text leaves the value alone
}

TEST(ValueText, BitsAreDecimalOrHexadecimal32Bits)
{
    uint32_t bits = 0;
    EXPECT_TRUE(standin::ParseBits("0x18000000", bits));
    EXPECT_EQ(bits, 0x18000000u);
    EXPECT_TRUE(standin::ParseBits("4294967295", bits));
    EXPECT_EQ(bits, 0xFFFFFFFFu);
    for (const char* bad : {"", "0x", "0x1g", "-1", "4294967296", "0x100000000", "+1", "0x-1"}) {
        EXPECT_FALSE(standin::ParseBits(bad, bits)) << bad;
    }
}

TEST(ValueText, AmountsMoveTheDecimalPointExactly)
{
    int64_t amount = 0;
    EXPECT_EQ(standin::ParseYenAmount("-12345.6789", amount), AmountProblem::None);
    EXPECT_EQ(amount, -123456789);
    EXPECT_EQ(standin::ParseYenAmount("0.5", amount), AmountProblem::None);
    EXPECT_EQ(amount, 5000);
    EXPECT_EQ(standin::ParseYenAmount("-922337203685477.5808", amount), AmountProblem::None);
    EXPECT_EQ(amount, INT64_MIN);
    EXPECT_EQ(standin::ParseYenAmount("922337203685477.5808", amount), AmountProblem::OutOfRange);
    EXPECT_EQ(standin::ParseYenAmount("99999999999999999999", amount), AmountProblem::OutOfRange);
    EXPECT_EQ(standin::ParseYenAmount("1.23456", amount), AmountProblem::TooManyDecimals);
    for (const char* bad : {"", ".5", "5.", "1.-2", "1..2", "1,5", "--1", " 1", "1e3"}) {
        EXPECT_EQ(standin::ParseYenAmount(bad, amount), AmountProblem::NotANumber) << bad;
    }
}

TEST(Utf8, DecodingIsStrict)
{
    std::wstring wide;
    EXPECT_TRUE(standin::WideFromUtf8("", wide));
    EXPECT_TRUE(standin::WideFromUtf8("a\xE7\x8F\xBE\xF0\x9F\x98\x80", wide));   // a, 現, an emoji
    EXPECT_EQ(wide, std::wstring(L"a\x73FE\xD83D\xDE00"));
    for (const std::string bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE7\x8F",
                                  "\x80", "\xFF"}) {
        EXPECT_FALSE(standin::WideFromUtf8(bad, wide)) << "bytes of length " << bad.size();
    }
}

TEST(Utf8, EncodingReplacesLoneSurrogates)
{
    EXPECT_EQ(standin::Utf8FromWide(L"a\x73FE\xD83D\xDE00"), "a\xE7\x8F\xBE\xF0\x9F\x98\x80");
    EXPECT_EQ(standin::Utf8FromWide(std::wstring(1, L'\xD800')), "\xEF\xBF\xBD");
    EXPECT_EQ(standin::Utf8FromWide(L""), "");
}
