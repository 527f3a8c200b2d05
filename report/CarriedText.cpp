#include "report/CarriedText.h"

#include "framework/CodePage.h"

namespace {

const char kBlank[] = " ";
const char kUndecodable[] = "・";

bool IsControl(unsigned char byte) { return (byte >= 0x01 && byte <= 0x1F) || byte == 0x7F; }

// A single byte that is a character of code page 932: ASCII and half-width katakana.
bool IsSingleByteCharacter(unsigned char byte) { return byte <= 0x7F || (byte >= 0xA1 && byte <= 0xDF); }

}  // namespace

std::string_view CarriedCharacter(std::string_view text, size_t pos, size_t length)
{
    const std::string_view character = text.substr(pos, length);
    if (length != 1) return character;
    const auto byte = static_cast<unsigned char>(character[0]);
    if (IsControl(byte)) return kBlank;
    if (!IsSingleByteCharacter(byte)) return kUndecodable;
    return character;
}

std::string CarriedText(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::string carried;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = Cp932CharLength(text, pos);
        carried += CarriedCharacter(text, pos, length);
        pos += length;
    }
    return carried;
}
