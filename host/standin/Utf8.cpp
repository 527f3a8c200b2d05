#include "host/standin/Utf8.h"

namespace standin {
namespace {

// Number of continuation bytes after a lead byte, and the smallest code point that needs
// that length (anything below is an overlong form).
struct SequenceShape {
    int continuationBytes;
    char32_t minimum;
    char32_t leadBits;
};

bool ShapeOfLeadByte(unsigned char lead, SequenceShape& shape)
{
    if (lead < 0x80) shape = {0, 0, lead};
    else if ((lead & 0xE0) == 0xC0) shape = {1, 0x80, static_cast<char32_t>(lead & 0x1F)};
    else if ((lead & 0xF0) == 0xE0) shape = {2, 0x800, static_cast<char32_t>(lead & 0x0F)};
    else if ((lead & 0xF8) == 0xF0) shape = {3, 0x10000, static_cast<char32_t>(lead & 0x07)};
    else return false;
    return true;
}

void AppendCodePoint(char32_t codePoint, std::wstring& out)
{
    if (codePoint < 0x10000) {
        out.push_back(static_cast<wchar_t>(codePoint));
        return;
    }
    const char32_t offset = codePoint - 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (offset >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (offset & 0x3FF)));
}

void AppendUtf8(char32_t codePoint, std::string& out)
{
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

}  // namespace

bool WideFromUtf8(std::string_view text, std::wstring& out)
{
    out.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        SequenceShape shape;
        if (!ShapeOfLeadByte(static_cast<unsigned char>(text[i]), shape)) return false;
        if (text.size() - i - 1 < static_cast<std::size_t>(shape.continuationBytes)) return false;
        char32_t codePoint = shape.leadBits;
        for (int k = 1; k <= shape.continuationBytes; ++k) {
            const auto byte = static_cast<unsigned char>(text[i + k]);
            if ((byte & 0xC0) != 0x80) return false;
            codePoint = (codePoint << 6) | (byte & 0x3F);
        }
        if (codePoint < shape.minimum || codePoint > 0x10FFFF) return false;
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return false;
        AppendCodePoint(codePoint, out);
        i += 1 + shape.continuationBytes;
    }
    return true;
}

std::string Utf8FromWide(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = static_cast<char16_t>(text[i]);
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < text.size()) {
            const char32_t next = static_cast<char16_t>(text[i + 1]);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00), out);
                ++i;
                continue;
            }
        }
        AppendUtf8((high || low) ? 0xFFFD : unit, out);
    }
    return out;
}

}  // namespace standin
