#include "host/standin/Cp932Text.h"

#include "framework/CodePage.h"
#include "host/standin/Utf8.h"

namespace standin {
namespace {

// Length of the character that starts at `pos`: a lead byte with its trail byte is two,
// a lead byte cut off by the end of the text is one.
std::size_t CharacterLength(std::string_view text, std::size_t pos)
{
    const bool lead = IsCp932LeadByte(static_cast<unsigned char>(text[pos]));
    return (lead && pos + 1 < text.size()) ? 2 : 1;
}

}  // namespace

bool Cp932FromUtf8(std::string_view utf8, std::string& out)
{
    std::wstring wide;
    if (!WideFromUtf8(utf8, wide)) return false;
    return Cp932FromWide(wide, out);
}

std::string Utf8FromCp932(std::string_view cp932)
{
    return Utf8FromWide(WideFromCp932(cp932));
}

void CopyToField(char* field, std::size_t fieldSize, std::string_view cp932)
{
    if (fieldSize == 0) return;
    std::size_t length = 0;
    while (length < cp932.size() && cp932[length] != '\0') {
        const std::size_t next = CharacterLength(cp932, length);
        if (length + next > fieldSize - 1) break;
        length += next;
    }
    cp932.copy(field, length);
    field[length] = '\0';
}

bool EndsWithBackslash(std::string_view cp932)
{
    bool lastIsBackslash = false;
    for (std::size_t pos = 0; pos < cp932.size();) {
        const std::size_t length = CharacterLength(cp932, pos);
        lastIsBackslash = (length == 1 && cp932[pos] == '\\');
        pos += length;
    }
    return lastIsBackslash;
}

}  // namespace standin
