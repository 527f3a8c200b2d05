// Conversions between the program's text (code page 932 bytes) and the UTF-16 text of the
// Win32 W functions. Every conversion names code page 932 explicitly, so the program behaves
// the same whatever the system's ANSI code page is (932, or 65001 under the UTF-8 option).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// CP932 bytes -> UTF-16. A lead byte left alone at the very end (half of a double-byte
// character) becomes U+30FB, the character the code page itself gives to undecodable bytes.
std::wstring WideFromCp932(std::string_view text);

// UTF-16 -> CP932 bytes. Returns false when some character has no CP932 form (an unpaired
// surrogate included); `out` is still filled, with '?' in place of each such character.
bool Cp932FromWide(std::wstring_view text, std::string& out);

// True for the first byte of a CP932 double-byte character (0x81-0x9F, 0xE0-0xFC). The code
// page fixes its lead bytes; asking the system would cost a call for every byte.
inline bool IsCp932LeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The one character step of every CP932 scan: the length in bytes of the character that
// starts at `pos` of `text`. 2 for a lead byte followed by a byte that can be its second half
// (0x40-0x7E, 0x80-0xFC); 1 for any other byte, a lead byte left alone at the end or before a
// NUL included; 0 at or past the end of `text`. Inline: scans take this step for every byte.
inline size_t Cp932CharLength(std::string_view text, size_t pos)
{
    if (pos >= text.size()) return 0;
    if (!IsCp932LeadByte(static_cast<unsigned char>(text[pos])) || pos + 1 >= text.size()) return 1;
    const auto trail = static_cast<unsigned char>(text[pos + 1]);
    const bool isTrail = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
    return isTrail ? 2 : 1;
}

// Copies CP932 text into a fixed-size buffer: at most `sourceLength` bytes of `source`,
// stopping early at a NUL, and never more than `destSize` - 1 bytes, never half a double-byte
// character. The copy is always NUL-terminated (when destSize > 0). Returns the bytes copied.
size_t CopyCp932Text(char* dest, size_t destSize, const char* source, size_t sourceLength);

// True when the last character of `text` is a backslash. The second byte of a double-byte
// character ("ソ", "表") may be 0x5C and is never taken for one.
inline bool EndsWithCp932Backslash(std::string_view text)
{
    bool lastIsBackslash = false;
    for (size_t pos = 0; pos < text.size(); pos += Cp932CharLength(text, pos)) lastIsBackslash = text[pos] == '\\';
    return lastIsBackslash;
}
