#include "framework/LongPath.h"

#include <windows.h>

namespace {

constexpr wchar_t kExtended[] = L"\\\\?\\";
constexpr wchar_t kExtendedUnc[] = L"\\\\?\\UNC\\";
constexpr wchar_t kDevice[] = L"\\\\.\\";

std::wstring FullPath(const std::wstring& path)
{
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return std::wstring();
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return std::wstring();
    full.resize(length);
    return full;
}

bool IsDrivePath(const std::wstring& path)
{
    return path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
}

}  // namespace

std::wstring ExtendedLengthPath(const std::wstring& path)
{
    if (path.empty() || path.starts_with(kExtended)) return path;
    const std::wstring full = FullPath(path);
    if (full.empty() || full.starts_with(kDevice)) return full.empty() ? path : full;
    if (IsDrivePath(full)) return kExtended + full;
    if (full.starts_with(L"\\\\")) return kExtendedUnc + full.substr(2);
    return full;
}
