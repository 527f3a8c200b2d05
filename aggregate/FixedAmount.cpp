#include "aggregate/FixedAmount.h"

// Signed 64-bit arithmetic that may leave the range is done on the unsigned representation:
// unsigned arithmetic wraps by definition, and converting back to a signed type is modular
// in C++20, so a wrapped result is well defined instead of undefined behaviour.

namespace {

uint64_t MagnitudeOf(int64_t value)
{
    // 0 - (unsigned)value also holds for INT64_MIN, whose magnitude 2^63 has no signed form.
    return value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

int64_t WrappingAdd(int64_t a, int64_t b)
{
    return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}

int64_t WrappingSubtract(int64_t a, int64_t b)
{
    return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}

// The exact result of a checked operation, given as its wrapped 64-bit value and whether it
// left the 64-bit range (such a result is far beyond the limit).
int64_t WithinTheLimit(int64_t result, bool wrapped)
{
    if (wrapped || MagnitudeOf(result) >= FixedAmount::kCheckedLimit) throw AmountOverflow();
    return result;
}

}  // namespace

const char* AmountOverflow::what() const noexcept
{
    return "amount out of range: 10^14 yen or more";
}

FixedAmount::FixedAmount() : units(0), fraction(0), sign(1) {}

FixedAmount::~FixedAmount() = default;

FixedAmount FixedAmount::FromScaled(int64_t tenThousandths)
{
    const uint64_t magnitude = MagnitudeOf(tenThousandths);
    FixedAmount amount;
    amount.sign = tenThousandths < 0 ? -1 : 1;
    amount.units = magnitude / kScale;
    amount.fraction = static_cast<uint32_t>(magnitude % kScale);
    return amount;
}

int64_t FixedAmount::ToScaled() const
{
    const uint64_t magnitude = units * kScale + fraction;
    return static_cast<int64_t>(sign < 0 ? 0 - magnitude : magnitude);
}

FixedAmount& FixedAmount::AddTo(const FixedAmount& other)
{
    *this = FromScaled(WrappingAdd(ToScaled(), other.ToScaled()));
    return *this;
}

FixedAmount FixedAmount::CheckedAdd(const FixedAmount& a, const FixedAmount& b)
{
    return FromScaled(CheckedAddScaled(a.ToScaled(), b.ToScaled()));
}

FixedAmount FixedAmount::Subtract(const FixedAmount& a, const FixedAmount& b)
{
    return FromScaled(WrappingSubtract(a.ToScaled(), b.ToScaled()));
}

FixedAmount FixedAmount::CheckedSubtract(const FixedAmount& a, const FixedAmount& b)
{
    return FromScaled(CheckedSubtractScaled(a.ToScaled(), b.ToScaled()));
}

int64_t FixedAmount::CheckedAddScaled(int64_t a, int64_t b)
{
    const int64_t sum = WrappingAdd(a, b);
    // Two operands of one sign whose sum shows the other sign have left the 64-bit range.
    return WithinTheLimit(sum, (a < 0) == (b < 0) && (sum < 0) != (a < 0));
}

int64_t FixedAmount::CheckedSubtractScaled(int64_t a, int64_t b)
{
    const int64_t difference = WrappingSubtract(a, b);
    // Operands of opposite signs whose difference lost the minuend's sign have wrapped.
    return WithinTheLimit(difference, (a < 0) != (b < 0) && (difference < 0) != (a < 0));
}
