// Half-width to full-width under code page 932, for the company name of the statement file.
#pragma once

#include <string>
#include <string_view>

// Every half-width character (printable ASCII and half-width katakana) becomes its full-width
// form; a half-width katakana followed by a voicing mark becomes the composed katakana where
// code page 932 has one (ｶﾞ -> ガ), and a voicing mark that composes with nothing becomes the
// spacing mark (゛ or ゜). Double-byte characters and other bytes are kept as they are; a lead
// byte without its second half becomes "・". The result is always code page 932 text.
std::string FullWidthCp932(std::string_view text);
