#include "host/standin/ValueText.h"

#include <charconv>
#include <limits>
#include <string_view>

namespace standin {
namespace {

constexpr uint64_t kLargestNegativeMagnitude = uint64_t{1} << 63;   // of INT64_MIN
constexpr int kAmountDecimals = 4;

enum class DigitsProblem { None, NotDigits, TooLarge };

// Decimal (or, with base 16, hexadecimal) digits only, nothing before or after them.
template <class Number>
DigitsProblem ParseDigits(std::string_view text, Number& value, int base = 10)
{
    const char* end = text.data() + text.size();
    if (text.empty() || text[0] == '-') return DigitsProblem::NotDigits;   // from_chars takes '-'
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (error == std::errc::result_out_of_range && stop == end) return DigitsProblem::TooLarge;
    return (error == std::errc() && stop == end) ? DigitsProblem::None : DigitsProblem::NotDigits;
}

// Splits off a leading sign; the rest is returned in `unsignedText`.
bool TakeSign(std::string_view text, std::string_view& unsignedText)
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
    std::string_view digits;
    const bool negative = TakeSign(text, digits);
    uint64_t magnitude = 0;
    if (ParseDigits(digits, magnitude) != DigitsProblem::None) return false;
    if (magnitude > (negative ? kLargestNegativeMagnitude : kLargestNegativeMagnitude - 1)) return false;
    const int64_t parsed = SignedFromMagnitude(magnitude, negative);
    if (parsed < minimum || parsed > maximum) return false;
    value = parsed;
    return true;
}

bool ParseBits(const std::string& text, uint32_t& value)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string_view digits = hex ? std::string_view(text).substr(2) : std::string_view(text);
    uint32_t parsed = 0;
    if (ParseDigits(digits, parsed, hex ? 16 : 10) != DigitsProblem::None) return false;
    value = parsed;
    return true;
}

AmountProblem ParseYenAmount(const std::string& text, int64_t& tenThousandths)
{
    std::string_view unsignedText;
    const bool negative = TakeSign(text, unsignedText);
    const std::size_t point = unsignedText.find('.');
    const std::string_view whole = unsignedText.substr(0, point);
    const std::string_view decimals = point == std::string_view::npos ? "0" : unsignedText.substr(point + 1);
    uint64_t unused = 0;
    const bool digits = ParseDigits(whole, unused) != DigitsProblem::NotDigits &&
                        ParseDigits(decimals, unused) != DigitsProblem::NotDigits;
    if (!digits) return AmountProblem::NotANumber;
    if (decimals.size() > kAmountDecimals) return AmountProblem::TooManyDecimals;

    // Moving the decimal point: the digits of the amount in ten-thousandths.
    const std::string scaledDigits =
        std::string(whole) + std::string(decimals) + std::string(kAmountDecimals - decimals.size(), '0');
    uint64_t magnitude = 0;
    const uint64_t limit = negative ? kLargestNegativeMagnitude : kLargestNegativeMagnitude - 1;
    if (ParseDigits(std::string_view(scaledDigits), magnitude) != DigitsProblem::None || magnitude > limit)
        return AmountProblem::OutOfRange;
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
