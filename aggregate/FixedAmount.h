#pragma once
// Money as the aggregation computes it: an exact signed count of ten-thousandths of a yen,
// held as sign and magnitude. The host hands amounts over in the same unit; only the report
// turns them into whole yen, so no floating point is ever involved.

#include <cstdint>
#include <exception>

// Raised by FixedAmount::CheckedAdd and CheckedSubtract when a result leaves the money range.
class AmountOverflow : public std::exception {
public:
    const char* what() const noexcept override;
};

class FixedAmount {
public:
    uint64_t units;     // whole yen of the magnitude
    uint32_t fraction;  // ten-thousandths of the magnitude, 0..9999
    int16_t sign;       // +1 or -1; zero is always +1

    // Magnitudes a checked result may not reach: 10^18 ten-thousandths (10^14 yen).
    static constexpr uint64_t kCheckedLimit = 1000000000000000000ULL;
    static constexpr uint32_t kScale = 10000;

    FixedAmount();
    FixedAmount(const FixedAmount& other) = default;
    FixedAmount& operator=(const FixedAmount& other) = default;
    virtual ~FixedAmount();

    static FixedAmount FromScaled(int64_t tenThousandths);
    int64_t ToScaled() const;

    // Adds in place, unchecked (a sum beyond 64 bits wraps); returns *this.
    FixedAmount& AddTo(const FixedAmount& other);
    // a + b; throws AmountOverflow when |a + b| >= 10^18, also when a + b exceeds 64 bits.
    static FixedAmount CheckedAdd(const FixedAmount& a, const FixedAmount& b);
    // a - b, unchecked (a difference beyond 64 bits wraps).
    static FixedAmount Subtract(const FixedAmount& a, const FixedAmount& b);
    // a - b; throws AmountOverflow as CheckedAdd does.
    static FixedAmount CheckedSubtract(const FixedAmount& a, const FixedAmount& b);

    // The same two checked steps on amounts in ten-thousandths (ToScaled), for a sum of many
    // amounts that needs no split into yen and fraction between its steps.
    static int64_t CheckedAddScaled(int64_t a, int64_t b);
    static int64_t CheckedSubtractScaled(int64_t a, int64_t b);
};
