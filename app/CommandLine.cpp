#include "app/CommandLine.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

// The whole line is read, however long: a path cut to fit a buffer would send the statement
// to a file the host never named (the run refuses a path that does not fit instead).

namespace {

// A number field as atol reads it: blanks, a sign, the leading digits; 0 when it does not
// begin with a number. A value beyond the range of long is held at LONG_MIN or LONG_MAX
// (where atol's behaviour would be undefined).
long LeadingNumber(const std::string& field)
{
    return std::strtol(field.c_str(), nullptr, 10);
}

// Windows keeps a window handle in 32 bits, sign-extended: a host that prints one unsigned
// gives 2147483648..4294967295 for a handle with the top bit set, which is read back as that
// handle. Any other value is read as atol reads it.
HWND WindowOf(const std::string& field)
{
    const long long value = std::strtoll(field.c_str(), nullptr, 10);
    if (value > INT32_MAX && value <= static_cast<long long>(UINT32_MAX)) {
        const auto handle = static_cast<int32_t>(static_cast<uint32_t>(value));
        return reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
    }
    return reinterpret_cast<HWND>(static_cast<intptr_t>(LeadingNumber(field)));
}

// The function id as atoi reads it (held at the int range), stored in 16 bits: the value
// wraps modulo 65536, so 65537 gives 1 and 32768 gives -32768.
int16_t FunctionIdOf(const std::string& field)
{
    long value = LeadingNumber(field);
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<int16_t>(static_cast<int>(value));
}

std::string LineOf(const char* text)
{
    return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

// A comma cannot be the second byte of a double-byte character, so the fields are found byte
// by byte; the path after the third comma is taken whole, with any commas of its own.
std::optional<HostCommandLine> ParseHostCommandLine(const char* text)
{
    const std::string line = LineOf(text);
    const size_t first = line.find(',');
    if (first == std::string::npos) return std::nullopt;
    const size_t second = line.find(',', first + 1);
    if (second == std::string::npos) return std::nullopt;
    const size_t third = line.find(',', second + 1);
    if (third == std::string::npos) return std::nullopt;

    HostCommandLine parsed;
    parsed.hostWnd = WindowOf(line.substr(0, first));
    parsed.notifyMsg = static_cast<uint32_t>(LeadingNumber(line.substr(first + 1, second - first - 1)));
    parsed.functionId = FunctionIdOf(line.substr(second + 1, third - second - 1));
    parsed.outputPath = line.substr(third + 1);
    return parsed;
}

HWND WindowNamedBy(const char* text)
{
    const std::string line = LineOf(text);
    const size_t first = line.find(',');
    return first != std::string::npos ? WindowOf(line.substr(0, first)) : nullptr;
}
