#pragma once
// Text the step functions share: how a caption is matched, how a text is shown in a failure,
// the code page 932 bytes of a text, and a number field of a command line.

#include <string>

// A caption as a scenario names it: whole, or ending in '*' for any caption that starts so
// (the progress window's caption carries its percentage).
bool CaptionMatches(const std::wstring& caption, const std::wstring& pattern);

// The text quoted, line breaks shown as \n, so that a failure reads like the scenario line.
std::wstring Shown(const std::wstring& text);

std::string Cp932FromWideText(const std::wstring& text);

// The number in the comma-separated field `index` of a command line (-1 when there is none).
long NumberField(const std::wstring& commandLine, int index);
