#include "host/standin/ValueText.h"

#include <limits>

namespace standin {
namespace {

constexpr uint64_t kLargestNegativeMagnitude = uint64_t{1} << 63;   // of INT64_MIN
constexpr int kAmountDecimals = 4;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool AllDigits(const std::string& text)
{
    if (text.empty()) return false;
    for (const char c : text) {
        if (!IsDigit(c)) return false;
    }
    return true;
}

// Appends decimal digits to a magnitude; false once it would pass `limit`.
bool AccumulateDigits(const std::string& digits, uint64_t limit, uint64_t& magnitude)
{
    for (const char c : digits) {
        const auto digit = static_cast<uint64_t>(c - '0');
        if (magnitude > (limit - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    return true;
}

// Splits off a leading sign; the rest is returned in `unsignedText`.
bool TakeSign(const std::string& text, std::string& unsignedText)
{
    const bool negative = !text.empty() && text[0] == '-';
    const bool sign = !text.empty() && (text[0] == '-' || text[0] == '+');
    unsignedText = sign ? text.substr(1) : text;
    return negative;
}

int64_t SignedFromMagnitude(uint64_t magnitude, bool negative)
{
    if (!negative) return static_cast<int64_t>(magnitude);
    if (magnitude == kLargestNegativeMagnitude) return std::numeric_limits<int64_t>::min();
    return -static_cast<int64_t>(magnitude);
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

bool ParseInteger(const std::string& text, int64_t minimum, int64_t maximum, int64_t& value)
{
    std::string digits;
    const bool negative = TakeSign(text, digits);
    if (!AllDigits(digits)) return false;
    uint64_t magnitude = 0;
    if (!AccumulateDigits(digits, kLargestNegativeMagnitude, magnitude)) return false;
    if (!negative && magnitude > kLargestNegativeMagnitude - 1) return false;
    const int64_t parsed = SignedFromMagnitude(magnitude, negative);
    if (parsed < minimum || parsed > maximum) return false;
    value = parsed;
    return true;
}

bool ParseBits(const std::string& text, uint32_t& value)
{
    uint64_t parsed = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::string hex = text.substr(2);
        if (hex.size() > 8) return false;
        for (const char c : hex) {
            int digit = -1;
            if (IsDigit(c)) digit = c - '0';
            else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            if (digit < 0) return false;
            parsed = parsed * 16 + static_cast<uint64_t>(digit);
        }
    } else {
        if (!AllDigits(text) || !AccumulateDigits(text, 0xFFFFFFFFu, parsed)) return false;
    }
    value = static_cast<uint32_t>(parsed);
    return true;
}

AmountProblem ParseYenAmount(const std::string& text, int64_t& tenThousandths)
{
    std::string unsignedText;
    const bool negative = TakeSign(text, unsignedText);
    const std::size_t point = unsignedText.find('.');
    const std::string whole = unsignedText.substr(0, point);
    const std::string decimals = point == std::string::npos ? "0" : unsignedText.substr(point + 1);
    if (!AllDigits(whole) || !AllDigits(decimals)) return AmountProblem::NotANumber;
    if (decimals.size() > kAmountDecimals) return AmountProblem::TooManyDecimals;

    const uint64_t limit = negative ? kLargestNegativeMagnitude : kLargestNegativeMagnitude - 1;
    uint64_t magnitude = 0;
    const std::string scaledDigits = whole + decimals + std::string(kAmountDecimals - decimals.size(), '0');
    if (!AccumulateDigits(scaledDigits, limit, magnitude)) return AmountProblem::OutOfRange;
    tenThousandths = SignedFromMagnitude(magnitude, negative);
    return AmountProblem::None;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return (month == 2 && IsLeapYear(year)) ? 29 : kDays[month - 1];
}

bool IsCalendarDate(long yyyymmdd)
{
    const long year = yyyymmdd / 10000;
    const int month = static_cast<int>(yyyymmdd % 10000 / 100);
    const int day = static_cast<int>(yyyymmdd % 100);
    if (year < 1 || year > 9999) return false;
    return day >= 1 && day <= DaysInMonth(static_cast<int>(year), month);
}

}  // namespace standin
