#include "framework/FullWidth.h"

#include <windows.h>

std::wstring MapToFullWidth(std::wstring_view text)
{
    if (text.empty() || text.size() > 0x10000) return {};
    const int length = static_cast<int>(text.size());
    // Room for twice the input: a full-width form is one UTF-16 unit, a composed one fewer.
    std::wstring mapped(text.size() * 2, L'\0');
    const int written = ::LCMapStringEx(L"ja-JP", LCMAP_FULLWIDTH, text.data(), length, mapped.data(),
                                        length * 2, nullptr, nullptr, 0);
    mapped.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return mapped;
}
