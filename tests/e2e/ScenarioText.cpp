#include "tests/e2e/ScenarioText.h"

#include <windows.h>

#include <cwchar>

bool CaptionMatches(const std::wstring& caption, const std::wstring& pattern)
{
    if (!pattern.empty() && pattern.back() == L'*') return caption.rfind(pattern.substr(0, pattern.size() - 1), 0) == 0;
    return caption == pattern;
}

std::wstring Shown(const std::wstring& text)
{
    std::wstring out = L"\"";
    for (wchar_t c : text) out += c == L'\n' ? std::wstring(L"\\n") : std::wstring(1, c);
    return out + L"\"";
}

std::string Cp932FromWideText(const std::wstring& text)
{
    const int size = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

long NumberField(const std::wstring& commandLine, int index)
{
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = commandLine.find(L',', start);
        if (start == std::wstring::npos) return -1;
        ++start;
    }
    return std::wcstol(commandLine.c_str() + start, nullptr, 10);
}
