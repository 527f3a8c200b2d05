// Text as the statement file can carry it. Whatever a name or SUPPORT.INF holds, the file
// stays XML that a Shift_JIS reader takes: a control byte is no XML character, and a byte that
// decodes to nothing (a lead byte without its second half, 0x80, 0xA0, 0xFD-0xFF) makes the
// reader refuse the file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The bytes the file carries for the character of `length` bytes at `pos` of `text` (as
// Cp932CharLength measures it): a blank for a control byte (0x01-0x1F, 0x7F), "・" for a byte
// that decodes to nothing, the character itself otherwise.
std::string_view CarriedCharacter(std::string_view text, size_t pos, size_t length);

// Every character of `text` as CarriedCharacter gives it; the text ends at a NUL.
std::string CarriedText(std::string_view text);
