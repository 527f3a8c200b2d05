#include "report/FullWidthText.h"

#include "framework/CodePage.h"

namespace {

const unsigned char kVoicedMark = 0xDE;      // ﾞ
const unsigned char kSemiVoicedMark = 0xDF;  // ﾟ
const char kUndecodable[] = "・";

// Full-width forms of the half-width katakana 0xA1 (｡) to 0xDF (ﾟ), in code order.
const wchar_t kFullWidthKana[] =
    L"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
    L"マミムメモヤユヨラリルレロワン゛゜";
static_assert(sizeof kFullWidthKana / sizeof kFullWidthKana[0] == 0xDF - 0xA1 + 2);

bool IsHalfWidthAscii(unsigned char byte) { return byte >= 0x20 && byte <= 0x7E; }
bool IsHalfWidthKana(unsigned char byte) { return byte >= 0xA1 && byte <= 0xDF; }
bool IsVoicingMark(unsigned char byte) { return byte == kVoicedMark || byte == kSemiVoicedMark; }

// The full-width form of one half-width character, by table.
wchar_t TableFullWidth(unsigned char byte)
{
    if (byte == ' ') return L'\x3000';
    if (IsHalfWidthAscii(byte)) return static_cast<wchar_t>(0xFF01 + (byte - 0x21));
    return kFullWidthKana[byte - 0xA1];
}

// The composed katakana for a full-width katakana and a voicing mark, or 0 when code page 932
// has none (ワ and ヲ with ゛ exist in Unicode only).
wchar_t Composed(wchar_t kana, unsigned char mark)
{
    const bool voiced = mark == kVoicedMark;
    if (voiced && kana == L'ウ') return L'ヴ';
    const bool takesVoicing = (kana >= L'カ' && kana <= L'チ' && (kana - L'カ') % 2 == 0) ||
                              (kana >= L'ツ' && kana <= L'ト' && (kana - L'ツ') % 2 == 0);
    if (voiced && takesVoicing) return static_cast<wchar_t>(kana + 1);
    if (kana >= L'ハ' && kana <= L'ホ' && (kana - L'ハ') % 3 == 0) return static_cast<wchar_t>(kana + (voiced ? 1 : 2));
    return 0;
}

// One unit by table: a character, or a katakana and the voicing mark after it.
std::wstring TableUnit(std::string_view unit)
{
    const auto first = static_cast<unsigned char>(unit[0]);
    std::wstring wide(1, TableFullWidth(first));
    if (unit.size() == 2) {
        const auto mark = static_cast<unsigned char>(unit[1]);
        const wchar_t composed = Composed(wide[0], mark);
        if (composed != 0) wide[0] = composed;
        else wide.push_back(TableFullWidth(mark));
    }
    return wide;
}

// Every half-width character of code page 932 has a fixed full-width form, so the table
// decides alone; the platform's mapping gives the same wherever its answer is code page 932
// text of the same make-up (Wine, for one, leaves the backslash half-width and composes ﾜﾞ
// into a katakana code page 932 lacks), and asking it costs a call for every unit.
std::string FullWidthUnit(std::string_view unit)
{
    std::string bytes;
    Cp932FromWide(TableUnit(unit), bytes);
    return bytes;
}

}  // namespace

std::string FullWidthCp932(std::string_view text)
{
    std::string result;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = Cp932CharLength(text, pos);
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (length == 2 || !(IsHalfWidthAscii(byte) || IsHalfWidthKana(byte))) {
            const bool loneLead = length == 1 && IsCp932LeadByte(byte);
            result.append(loneLead ? std::string_view(kUndecodable) : text.substr(pos, length));
            pos += length;
            continue;
        }
        const bool markFollows = IsHalfWidthKana(byte) && !IsVoicingMark(byte) && pos + 1 < text.size() &&
                                 IsVoicingMark(static_cast<unsigned char>(text[pos + 1]));
        const size_t unitLength = markFollows ? 2 : 1;
        result += FullWidthUnit(text.substr(pos, unitLength));
        pos += unitLength;
    }
    return result;
}
