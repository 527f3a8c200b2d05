#include "framework/FileSystem.h"

#include <string>

#include "framework/CodePage.h"

namespace {

CString FromBytes(const std::string& bytes)
{
    return CString(bytes.data(), static_cast<int>(bytes.size()));
}

std::wstring ModulePathWide()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return std::wstring();  // longer than any path can be
        path.resize(path.size() * 2);
    }
}

}  // namespace

CString GetModulePath()
{
    const std::wstring wide = ModulePathWide();
    std::string bytes;
    if (!Cp932FromWide(wide, bytes)) {
        // A folder name without a CP932 form: its short (8.3) alias is plain ASCII.
        std::wstring shortPath(wide.size() + 1, L'\0');
        const DWORD length = ::GetShortPathNameW(wide.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
        if (length > 0 && length < shortPath.size()) {
            shortPath.resize(length);
            Cp932FromWide(shortPath, bytes);
        }
    }
    return FromBytes(bytes);
}

CString GetModuleFolder()
{
    return FolderOfPath(GetModulePath());
}

CString FolderOfPath(const char* path)
{
    if (!path) return CString();
    const std::string text(path);
    size_t cut = std::string::npos;  // just after the last real backslash
    for (size_t i = 0; i < text.size(); i += Cp932CharLength(text, i)) {
        if (text[i] == '\\') cut = i + 1;   // a trail byte is never looked at on its own
    }
    return cut == std::string::npos ? CString(path) : CString(path, static_cast<int>(cut));
}

CString GetCurrentFolder()
{
    const DWORD size = ::GetCurrentDirectoryW(0, nullptr);  // the size needed, terminator included
    if (size == 0) return CString();
    std::wstring folder(size, L'\0');
    const DWORD length = ::GetCurrentDirectoryW(size, folder.data());
    if (length == 0 || length >= size) return CString();
    folder.resize(length);
    std::string bytes;
    Cp932FromWide(folder, bytes);
    return FromBytes(bytes);
}

BOOL SetCurrentFolder(const char* folder)
{
    if (!folder || !*folder) return FALSE;
    return ::SetCurrentDirectoryW(WideFromCp932(folder).c_str());
}

CString GetProfileText(const char* path, const char* section, const char* key, const char* defaultValue,
                       size_t capacity)
{
    std::wstring value(capacity, L'\0');
    const DWORD length = ::GetPrivateProfileStringW(WideFromCp932(section ? section : "").c_str(),
                                                    WideFromCp932(key ? key : "").c_str(),
                                                    WideFromCp932(defaultValue ? defaultValue : "").c_str(),
                                                    value.data(), static_cast<DWORD>(capacity),
                                                    WideFromCp932(path ? path : "").c_str());
    value.resize(length < capacity ? length : 0);
    std::string bytes;
    Cp932FromWide(value, bytes);
    return FromBytes(bytes);
}

CString GetEnvironmentText(const char* name)
{
    if (!name || !*name) return CString();
    const std::wstring wideName = WideFromCp932(name);
    std::wstring value(256, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {  // the variable may grow between calls
        const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) return CString();  // unset, or set to nothing
        if (length < value.size()) {
            value.resize(length);
            std::string bytes;
            Cp932FromWide(value, bytes);
            return FromBytes(bytes);
        }
        value.resize(length);  // the size needed, terminator included
    }
    return CString();
}
