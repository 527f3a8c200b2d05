#include "framework/File.h"

#include <string>

#include "framework/CodePage.h"
#include "framework/LongPath.h"

namespace {

DWORD DesiredAccess(UINT flags)
{
    switch (flags & 0x3) {
    case CFile::modeWrite: return GENERIC_WRITE;
    case CFile::modeReadWrite: return GENERIC_READ | GENERIC_WRITE;
    default: return GENERIC_READ;
    }
}

DWORD ShareMode(UINT flags)
{
    switch (flags & 0x70) {
    case CFile::shareDenyWrite: return FILE_SHARE_READ;
    case CFile::shareDenyRead: return FILE_SHARE_WRITE;
    case CFile::shareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return 0;  // compatibility and exclusive modes share nothing
    }
}

DWORD CreationDisposition(UINT flags)
{
    if (!(flags & CFile::modeCreate)) return OPEN_EXISTING;
    return (flags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

}  // namespace

CFile::~CFile()
{
    if (IsOpen()) ::CloseHandle(m_handle);
}

bool CFile::Open(const char* path, UINT flags)
{
    if (IsOpen()) {
        ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
    if (!path || !*path) {
        ::SetLastError(ERROR_INVALID_NAME);
        return false;
    }

    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, !(flags & modeNoInherit)};
    m_handle = ::CreateFileW(ExtendedLengthPath(WideFromCp932(path)).c_str(), DesiredAccess(flags), ShareMode(flags), &security,
                             CreationDisposition(flags), FILE_ATTRIBUTE_NORMAL, nullptr);
    return IsOpen();
}

bool CFile::RefusesTransfer(const void* buffer, UINT count) const
{
    if (!IsOpen()) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return true;
    }
    if (count != 0 && !buffer) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return true;
    }
    return false;
}

bool CFile::Read(void* buffer, UINT count, UINT& read)
{
    read = 0;
    if (RefusesTransfer(buffer, count)) return false;
    if (count == 0) return true;
    DWORD done = 0;
    if (!::ReadFile(m_handle, buffer, count, &done, nullptr)) return false;
    read = done;
    return true;
}

bool CFile::Write(const void* buffer, UINT count)
{
    if (RefusesTransfer(buffer, count)) return false;
    if (count == 0) return true;
    DWORD written = 0;
    if (!::WriteFile(m_handle, buffer, count, &written, nullptr)) return false;
    if (written == count) return true;
    ::SetLastError(ERROR_DISK_FULL);
    return false;
}

bool CFile::Close()
{
    if (!IsOpen()) return true;
    HANDLE handle = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    return ::CloseHandle(handle) != FALSE;
}

bool CFile::GetStatus(const char* path, CFileStatus& status)
{
    const std::wstring widePath = path ? WideFromCp932(path) : std::wstring();
    // Wildcards would name a pattern, not a file.
    if (widePath.empty() || widePath.find_first_of(L"*?") != std::wstring::npos) {
        ::SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(ExtendedLengthPath(widePath).c_str(), GetFileExInfoStandard, &data)) return false;
    status.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    status.m_attribute = static_cast<BYTE>(data.dwFileAttributes & 0xFF);
    return true;
}
