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

BOOL CFile::Open(const char* path, UINT flags, CFileException* error)
{
    if (IsOpen()) {
        ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
    if (!path || !*path) {
        if (error) *error = CFileException(ERROR_INVALID_NAME);
        return FALSE;
    }

    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, !(flags & modeNoInherit)};
    m_handle = ::CreateFileW(ExtendedLengthPath(WideFromCp932(path)).c_str(), DesiredAccess(flags), ShareMode(flags), &security,
                             CreationDisposition(flags), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!IsOpen()) {
        if (error) *error = CFileException(::GetLastError());
        return FALSE;
    }
    if (error) *error = CFileException();
    return TRUE;
}

void CFile::ThrowIfClosed() const
{
    if (!IsOpen()) throw CFileException(ERROR_INVALID_HANDLE);
}

UINT CFile::Read(void* buffer, UINT count)
{
    ThrowIfClosed();
    if (count == 0) return 0;
    if (!buffer) throw CFileException(ERROR_INVALID_PARAMETER);
    DWORD read = 0;
    if (!::ReadFile(m_handle, buffer, count, &read, nullptr)) throw CFileException(::GetLastError());
    return read;
}

void CFile::Write(const void* buffer, UINT count)
{
    ThrowIfClosed();
    if (count == 0) return;
    if (!buffer) throw CFileException(ERROR_INVALID_PARAMETER);
    DWORD written = 0;
    if (!::WriteFile(m_handle, buffer, count, &written, nullptr)) throw CFileException(::GetLastError());
    if (written != count) throw CFileException(ERROR_DISK_FULL);
}

void CFile::Close()
{
    if (!IsOpen()) return;
    HANDLE handle = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(handle)) throw CFileException(::GetLastError());
}

ULONGLONG CFile::GetLength() const
{
    ThrowIfClosed();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(m_handle, &size)) throw CFileException(::GetLastError());
    return static_cast<ULONGLONG>(size.QuadPart);
}

BOOL CFile::GetStatus(const char* path, CFileStatus& status, CFileException* error)
{
    if (error) *error = CFileException(ERROR_INVALID_NAME);
    if (!path || !*path) return FALSE;
    const std::wstring widePath = WideFromCp932(path);
    // Wildcards would name a pattern, not a file.
    if (widePath.find_first_of(L"*?") != std::wstring::npos) return FALSE;

    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(ExtendedLengthPath(widePath).c_str(), GetFileExInfoStandard, &data)) {
        if (error) *error = CFileException(::GetLastError());
        return FALSE;
    }
    if (error) *error = CFileException();
    status.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    status.m_attribute = static_cast<BYTE>(data.dwFileAttributes & 0xFF);
    return TRUE;
}
