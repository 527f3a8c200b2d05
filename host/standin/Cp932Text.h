#pragma once

// Code page 932 text as the host hands it over: conversions from the data files' UTF-8 and
// scans that treat a double-byte character as one.

#include <cstddef>
#include <string>
#include <string_view>

namespace standin {

// False when the text is not UTF-8 or holds a character that code page 932 has no form for.
bool Cp932FromUtf8(std::string_view utf8, std::string& out);

std::string Utf8FromCp932(std::string_view cp932);

}  // namespace standin
