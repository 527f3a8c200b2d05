#pragma once

// UTF-8, the encoding of the stand-in's data files and of its call log.

#include <string>
#include <string_view>

namespace standin {

// Strict decoding by Windows (MB_ERR_INVALID_CHARS): false on malformed, overlong or
// surrogate sequences and on code points beyond U+10FFFF.
bool WideFromUtf8(std::string_view text, std::wstring& out);

// Lone surrogates become U+FFFD, as Windows converts them.
std::string Utf8FromWide(std::wstring_view text);

}  // namespace standin
