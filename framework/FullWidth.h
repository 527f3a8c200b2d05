// The platform's half-width to full-width mapping, for Japanese (UTF-16 in and out).
#pragma once

#include <string>
#include <string_view>

// LCMapStringEx(L"ja-JP", LCMAP_FULLWIDTH): ASCII and half-width katakana become their
// full-width forms; a katakana followed by a voicing mark may come back composed. What the
// platform leaves alone comes back unchanged; an empty text when the mapping fails.
std::wstring MapToFullWidth(std::wstring_view text);
