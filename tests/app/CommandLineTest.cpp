// The host's command line: which fields a run takes from it, and what an incomplete or odd
// line leaves in place.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>

#include "app/BridgeApp.h"

namespace {

// What a line leaves in a fresh app: the result and the four fields.
struct Parsed {
    int result;
    intptr_t hostWnd;
    uint32_t notifyMsg;
    int16_t functionId;
    std::string path;
    bool operator==(const Parsed&) const = default;
    friend void PrintTo(const Parsed& p, std::ostream* out)
    {
        *out << "{" << p.result << ", " << p.hostWnd << ", " << p.notifyMsg << ", " << p.functionId << ", \""
             << p.path << "\"}";
    }
};

Parsed Parse(const char* line)
{
    CBridgeApp app;
    const int result = app.ParseCommandLine(line);
    return {result, reinterpret_cast<intptr_t>(app.m_hHostWnd), app.m_nNotifyMsg, app.m_nFunctionId,
            std::string(app.m_strHostPath)};
}

struct LineCase {
    const char* line;
    Parsed parsed;
};

void ExpectParsed(std::initializer_list<LineCase> cases)
{
    for (const LineCase& each : cases) EXPECT_EQ(Parse(each.line), each.parsed) << (each.line ? each.line : "(null)");
}

TEST(CommandLineTest, CompleteLineFillsEveryFieldAndTakesThePathWholeWithItsCommas)
{
    ExpectParsed({{"1312,32771,7,D:\\OUT\\A,B,C.xml", {1, 1312, 32771, 7, "D:\\OUT\\A,B,C.xml"}},
                  {"1312,32771,1,", {1, 1312, 32771, 1, ""}}});  // a trailing comma: complete without a path
    const std::string path = "C:\\" + std::string(600, 'x') + ".xml";  // kept whole, not cut
    EXPECT_EQ(Parse(("1312,32771,1," + path).c_str()), (Parsed{1, 1312, 32771, 1, path}));
}

// The defaults are no window, no message and function id 1.
TEST(CommandLineTest, IncompleteLineKeepsTheFieldsReadBeforeItsMissingComma)
{
    ExpectParsed({{"", {0, 0, 0, 1, ""}},
                  {nullptr, {0, 0, 0, 1, ""}},
                  {"1312", {0, 0, 0, 1, ""}},
                  {"1312,32771,9", {0, 1312, 32771, 1, ""}}});  // the third field counts only with its comma
}

TEST(CommandLineTest, NumbersAreReadFromTheirLeadingDigits)
{
    ExpectParsed({{"abc,12x,-3z,", {1, 0, 12, -3, ""}}, {" 66, +32771 ,,", {1, 66, 32771, 0, ""}}});
    const std::string zeros(300, '0');  // whatever the line's length
    EXPECT_EQ(Parse((zeros + "1312," + zeros + "32771," + zeros + "7,").c_str()), (Parsed{1, 1312, 32771, 7, ""}));
}

// Values beyond the fields' ranges give fixed results: numbers hold at the ends of the long
// (and int) range, the function id keeps the low 16 bits of its int.
TEST(CommandLineTest, OversizedNumbersGiveFixedValues)
{
    ExpectParsed({{"1,2,65537,", {1, 1, 2, 1, ""}},
                  {"1,2,32768,", {1, 1, 2, -32768, ""}},
                  {"99999999999999999999,-99999999999999999999,99999999999999999999,",
                   {1, 2147483647, 0x80000000u, -1, ""}}});  // INT_MAX in 16 bits
}

}  // namespace
