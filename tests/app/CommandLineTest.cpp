// The host's command line: what a line gives the run, and what an incomplete or odd line gives.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"

void PrintTo(const HostCommandLine& line, std::ostream* out)
{
    *out << "{" << reinterpret_cast<intptr_t>(line.hostWnd) << ", " << line.notifyMsg << ", " << line.functionId
         << ", \"" << line.outputPath << "\"}";
}

namespace {

HostCommandLine Line(intptr_t hostWnd, uint32_t notifyMsg, int16_t functionId, const std::string& path)
{
    return {reinterpret_cast<HWND>(hostWnd), notifyMsg, functionId, path};
}

struct LineCase {
    std::string text;
    std::optional<HostCommandLine> parsed;
};

const std::string kLongPath = "C:\\" + std::string(600, 'x') + ".xml";  // kept whole, not cut
const std::string kZeros(300, '0');                                     // whatever the line's length

TEST(CommandLineTest, EachLineGivesItsValue)
{
    const std::vector<LineCase> cases = {
        // A complete line; the path is taken whole with its commas.
        {"1312,32771,7,D:\\OUT\\A,B,C.xml", Line(1312, 32771, 7, "D:\\OUT\\A,B,C.xml")},
        {"1312,32771,1,", Line(1312, 32771, 1, "")},  // a trailing comma: complete without a path
        {"1312,32771,1," + kLongPath, Line(1312, 32771, 1, kLongPath)},
        // A line without its three commas gives nothing.
        {"", std::nullopt},
        {"1312", std::nullopt},
        {"1312,32771,9", std::nullopt},  // the third field counts only with its comma
        // Numbers are read from their leading digits.
        {"abc,12x,-3z,", Line(0, 12, -3, "")},
        {" 66, +32771 ,,", Line(66, 32771, 0, "")},
        {kZeros + "1312," + kZeros + "32771," + kZeros + "7,", Line(1312, 32771, 7, "")},
        // Beyond their ranges, numbers hold at the ends of the long (and int) range and the
        // function id keeps the low 16 bits of its int.
        {"1,2,65537,", Line(1, 2, 1, "")},
        {"1,2,32768,", Line(1, 2, -32768, "")},
        {"99999999999999999999,-99999999999999999999,99999999999999999999,",
         Line(2147483647, 0x80000000u, -1, "")},  // INT_MAX in 16 bits
        // A window handle printed unsigned is read back as Windows keeps it, sign-extended.
        {"4294967295,2,3,", Line(-1, 2, 3, "")},
        {"2147483648,2,3,", Line(-2147483647 - 1, 2, 3, "")},
        {"4294967296,2,3,", Line(2147483647, 2, 3, "")},
    };
    for (const LineCase& each : cases) EXPECT_EQ(ParseHostCommandLine(each.text.c_str()), each.parsed) << each.text;
    EXPECT_EQ(ParseHostCommandLine(nullptr), std::nullopt);
}

// A line cut short after its first field still names the window that owns the compatibility
// message.
TEST(CommandLineTest, WindowIsNamedOnceTheFirstFieldHasItsComma)
{
    const struct {
        const char* text;
        intptr_t window;
    } cases[] = {{"1312,32771,7,D:\\OUT\\A.xml", 1312}, {"1312,32771,9", 1312}, {"1312,", 1312}, {"3221225473,", -1073741823},
                 {"1312", 0}, {"", 0}, {nullptr, 0}};
    for (const auto& each : cases)
        EXPECT_EQ(reinterpret_cast<intptr_t>(WindowNamedBy(each.text)), each.window) << (each.text ? each.text : "(null)");
}

}  // namespace
