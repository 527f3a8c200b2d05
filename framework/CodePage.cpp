#include "framework/CodePage.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace {

constexpr UINT kCp932 = 932;
constexpr wchar_t kUndecodable = L'\x30FB';

// Length of `text` in bytes, for the int-sized Win32 conversion calls.
int CheckedLength(size_t size)
{
    if (size > static_cast<size_t>(INT_MAX)) throw std::length_error("text too long to convert");
    return static_cast<int>(size);
}

// True when the last byte of `text` is a lead byte that starts a character (not the trail
// byte of the character before it): only a scan from the start can tell.
bool EndsInLoneLeadByte(std::string_view text)
{
    size_t last = 0;
    for (size_t pos = 0; pos < text.size(); pos += Cp932CharLength(text, pos)) last = pos;
    return last + 1 == text.size() && IsCp932LeadByte(static_cast<unsigned char>(text[last]));
}

}  // namespace

std::wstring WideFromCp932(std::string_view text)
{
    const bool loneLead = EndsInLoneLeadByte(text);
    if (loneLead) text.remove_suffix(1);

    std::wstring wide;
    if (!text.empty()) {
        const int length = CheckedLength(text.size());
        const int needed = MultiByteToWideChar(kCp932, 0, text.data(), length, nullptr, 0);
        if (needed > 0) {
            wide.resize(static_cast<size_t>(needed));
            const int written = MultiByteToWideChar(kCp932, 0, text.data(), length, wide.data(), needed);
            wide.resize(written > 0 ? static_cast<size_t>(written) : 0);
        }
    }
    if (loneLead) wide.push_back(kUndecodable);
    return wide;
}

bool Cp932FromWide(std::wstring_view text, std::string& out)
{
    out.clear();
    if (text.empty()) return true;

    // No best-fit mapping: a character without an exact CP932 form must be reported, not
    // silently replaced by a look-alike (U+00A5 would otherwise become a backslash).
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int length = CheckedLength(text.size());
    const int needed = WideCharToMultiByte(kCp932, flags, text.data(), length, nullptr, 0, "?", nullptr);
    if (needed <= 0) return false;

    out.resize(static_cast<size_t>(needed));
    BOOL usedDefault = FALSE;
    const int written =
        WideCharToMultiByte(kCp932, flags, text.data(), length, out.data(), needed, "?", &usedDefault);
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return written > 0 && !usedDefault;
}

size_t CopyCp932Text(char* dest, size_t destSize, const char* source, size_t sourceLength)
{
    if (!dest || destSize == 0) return 0;
    size_t length = 0;
    if (source) {
        const std::string_view text(source, sourceLength);
        while (length < sourceLength && source[length] != '\0') {
            const size_t width = Cp932CharLength(text, length);
            // A lead byte whose partner is missing or cut off by the limit is left out.
            const bool loneLead = width == 1 && IsCp932LeadByte(static_cast<unsigned char>(source[length]));
            if (loneLead || length + width > destSize - 1) break;
            length += width;
        }
    }
    for (size_t i = 0; i < length; ++i) dest[i] = source[i];
    dest[length] = '\0';
    return length;
}
