#include "framework/Folders.h"

#include <io.h>

#include <string>

#include "framework/CodePage.h"
#include "framework/LongPath.h"

namespace {

std::wstring Wide(const char* path)
{
    return path ? WideFromCp932(path) : std::wstring();
}

// Paths beyond the plain limit (for a folder to be created, 248 characters) work as well.
std::wstring LongWide(const char* path)
{
    return ExtendedLengthPath(Wide(path));
}

}  // namespace

UINT GetDriveTypeOf(const char* root)
{
    return ::GetDriveTypeW(Wide(root).c_str());
}

BOOL IsAccessible(const char* path, int mode)
{
    return ::_waccess(LongWide(path).c_str(), mode) == 0;
}

BOOL IsFolder(const char* path)
{
    const DWORD attributes = ::GetFileAttributesW(LongWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? TRUE : FALSE;
}

BOOL CreateFolder(const char* path)
{
    return ::CreateDirectoryW(LongWide(path).c_str(), nullptr);
}

BOOL RemoveFolder(const char* path)
{
    return ::RemoveDirectoryW(LongWide(path).c_str());
}

CString GetTempFolder()
{
    wchar_t wide[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, wide);
    if (length == 0 || length > MAX_PATH) return CString();
    std::string bytes;
    if (!Cp932FromWide(std::wstring_view(wide, length), bytes)) return CString();
    return CString(bytes.data(), static_cast<int>(bytes.size()));
}
