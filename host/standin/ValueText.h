#pragma once

// Numbers as a person writes them in the data files. Everything is exact: amounts become
// whole ten-thousandths of a yen by moving the decimal point, never through floating point.

#include <cstdint>
#include <string>

namespace standin {

// Decimal digits with an optional sign, within [minimum, maximum].
bool ParseInteger(const std::string& text, int64_t minimum, int64_t maximum, int64_t& value);

// 32 bits written in decimal or, after "0x", in hexadecimal.
bool ParseBits(const std::string& text, uint32_t& value);

enum class AmountProblem { None, NotANumber, TooManyDecimals, OutOfRange };

// Yen with up to four decimals ("-12345.6789") into ten-thousandths (-123456789).
AmountProblem ParseYenAmount(const std::string& text, int64_t& tenThousandths);

// A date written yyyymmdd that exists in the calendar (years 1 to 9999).
bool IsCalendarDate(long yyyymmdd);
int DaysInMonth(int year, int month);

}  // namespace standin
