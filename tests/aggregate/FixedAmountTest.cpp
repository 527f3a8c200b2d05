#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "aggregate/FixedAmount.h"

namespace {

constexpr int64_t kLimit = 1000000000000000000LL;  // 10^18 ten-thousandths
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();
constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();

FixedAmount Scaled(int64_t v) { return FixedAmount::FromScaled(v); }

void ExpectFields(const FixedAmount& a, uint64_t units, uint32_t fraction, int16_t sign)
{
    EXPECT_EQ(a.units, units);
    EXPECT_EQ(a.fraction, fraction);
    EXPECT_EQ(a.sign, sign);
}

TEST(FixedAmount, NewValueIsPositiveZero)
{
    ExpectFields(FixedAmount(), 0, 0, 1);
    EXPECT_EQ(FixedAmount().ToScaled(), 0);
}

TEST(FixedAmount, FromScaledSplitsYenAndTenThousandths)
{
    ExpectFields(Scaled(12345678), 1234, 5678, 1);
    ExpectFields(Scaled(-1), 0, 1, -1);
    ExpectFields(Scaled(-12345678), 1234, 5678, -1);
    ExpectFields(Scaled(10000), 1, 0, 1);
    ExpectFields(Scaled(9999), 0, 9999, 1);
    ExpectFields(Scaled(0), 0, 0, 1);
}

TEST(FixedAmount, FromScaledTakesTheWholeSigned64BitRange)
{
    // 2^63 - 1 and -2^63: the latter has no positive counterpart in 64 signed bits.
    ExpectFields(Scaled(kInt64Max), 922337203685477ULL, 5807, 1);
    ExpectFields(Scaled(kInt64Min), 922337203685477ULL, 5808, -1);
}

TEST(FixedAmount, ToScaledGivesBackWhatFromScaledTook)
{
    for (int64_t v : {int64_t{0}, int64_t{1}, int64_t{-1}, int64_t{12345678}, int64_t{-12345678},
                      int64_t{9999}, int64_t{-10000}, kLimit - 1, -(kLimit - 1), kInt64Max,
                      kInt64Min})
        EXPECT_EQ(Scaled(v).ToScaled(), v) << v;
}

TEST(FixedAmount, CopiesAreIndependent)
{
    FixedAmount a = Scaled(-5);
    FixedAmount b;
    b = a;
    a.AddTo(Scaled(10));
    EXPECT_EQ(b.ToScaled(), -5);
    EXPECT_EQ(a.ToScaled(), 5);
}

TEST(FixedAmount, AddToChangesTheValueInPlace)
{
    FixedAmount a = Scaled(15000);
    FixedAmount& result = a.AddTo(Scaled(-25000));
    EXPECT_EQ(&result, &a);
    ExpectFields(a, 1, 0, -1);
    a.AddTo(Scaled(10000));
    ExpectFields(a, 0, 0, 1);  // back to zero, and zero is positive
    a.AddTo(Scaled(3)).AddTo(Scaled(4));
    EXPECT_EQ(a.ToScaled(), 7);
}

TEST(FixedAmount, UncheckedOperationsWrapBeyond64Bits)
{
    // Unchecked by contract; the point is a defined result, not a trap or garbage sign.
    FixedAmount a = Scaled(kInt64Max);
    a.AddTo(Scaled(1));
    EXPECT_EQ(a.ToScaled(), kInt64Min);
    EXPECT_EQ(FixedAmount::Subtract(Scaled(kInt64Min), Scaled(1)).ToScaled(), kInt64Max);
}

TEST(FixedAmount, SubtractingAValueFromItselfGivesPositiveZero)
{
    for (int64_t v : {int64_t{-7}, int64_t{0}, int64_t{123456789}, kInt64Min})
        ExpectFields(FixedAmount::Subtract(Scaled(v), Scaled(v)), 0, 0, 1);
    ExpectFields(FixedAmount::Subtract(Scaled(1), Scaled(3)), 0, 2, -1);
}

TEST(FixedAmount, CheckedAddAcceptsSumsJustBelowTheLimitOnBothSides)
{
    EXPECT_EQ(FixedAmount::CheckedAdd(Scaled(kLimit - 2), Scaled(1)).ToScaled(), kLimit - 1);
    EXPECT_EQ(FixedAmount::CheckedAdd(Scaled(-(kLimit - 2)), Scaled(-1)).ToScaled(),
              -(kLimit - 1));
    // Large operands of opposite signs are fine when their sum is small.
    ExpectFields(FixedAmount::CheckedAdd(Scaled(kInt64Max), Scaled(-kInt64Max)), 0, 0, 1);
    // The checked subtraction has the same range.
    EXPECT_EQ(FixedAmount::CheckedSubtract(Scaled(kLimit - 2), Scaled(-1)).ToScaled(), kLimit - 1);
    EXPECT_EQ(FixedAmount::CheckedSubtract(Scaled(-1), Scaled(kLimit - 2)).ToScaled(), -(kLimit - 1));
    ExpectFields(FixedAmount::CheckedSubtract(Scaled(kInt64Min), Scaled(kInt64Min)), 0, 0, 1);
}

TEST(FixedAmount, CheckedAddRefusesSumsReachingTheLimit)
{
    EXPECT_THROW(FixedAmount::CheckedAdd(Scaled(kLimit - 1), Scaled(1)), AmountOverflow);
    EXPECT_THROW(FixedAmount::CheckedAdd(Scaled(-(kLimit - 1)), Scaled(-1)), AmountOverflow);
    EXPECT_THROW(FixedAmount::CheckedAdd(Scaled(kLimit), FixedAmount()), AmountOverflow);
    EXPECT_THROW(FixedAmount::CheckedSubtract(Scaled(kLimit - 1), Scaled(-1)), AmountOverflow);
    EXPECT_THROW(FixedAmount::CheckedSubtract(Scaled(-1), Scaled(kLimit - 1)), AmountOverflow);
    EXPECT_THROW(FixedAmount::CheckedSubtract(Scaled(kLimit), FixedAmount()), AmountOverflow);
}

TEST(FixedAmount, CheckedAddRefusesSumsBeyond64Bits)
{
    // Sums that wrap around would land inside the limit if only the result were looked at.
    EXPECT_THROW(FixedAmount::CheckedAdd(Scaled(kInt64Max), Scaled(kInt64Max)), AmountOverflow);
    EXPECT_THROW(FixedAmount::CheckedAdd(Scaled(kInt64Min), Scaled(kInt64Min)), AmountOverflow);
    EXPECT_THROW(FixedAmount::CheckedAdd(Scaled(kInt64Min), Scaled(-1)), AmountOverflow);
    EXPECT_THROW(FixedAmount::CheckedAdd(Scaled(kInt64Max), Scaled(1)), AmountOverflow);
    EXPECT_THROW(FixedAmount::CheckedSubtract(Scaled(kInt64Max), Scaled(kInt64Min)), AmountOverflow);
    EXPECT_THROW(FixedAmount::CheckedSubtract(Scaled(kInt64Min), Scaled(1)), AmountOverflow);
    EXPECT_THROW(FixedAmount::CheckedSubtract(Scaled(0), Scaled(kInt64Min)), AmountOverflow);
}

TEST(FixedAmount, OverflowSaysWhatHappened)
{
    try {
        FixedAmount::CheckedAdd(Scaled(kLimit), Scaled(kLimit));
        FAIL() << "no AmountOverflow";
    } catch (const std::exception& e) {
        EXPECT_NE(dynamic_cast<const AmountOverflow*>(&e), nullptr);
        EXPECT_GT(std::char_traits<char>::length(e.what()), 0u);
    }
}

}  // namespace
