#include "framework/File.h"

#include <string>

#include "framework/CodePage.h"

CFileException CFileException::FromOsError(DWORD osError)
{
    switch (osError) {
    case NO_ERROR: return CFileException(none, osError);
    case ERROR_FILE_NOT_FOUND: return CFileException(fileNotFound, osError);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_FILENAME_EXCED_RANGE: return CFileException(badPath, osError);
    case ERROR_TOO_MANY_OPEN_FILES: return CFileException(tooManyOpenFiles, osError);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return CFileException(accessDenied, osError);
    case ERROR_INVALID_HANDLE: return CFileException(invalidFile, osError);
    case ERROR_CURRENT_DIRECTORY: return CFileException(removeCurrentDir, osError);
    case ERROR_CANNOT_MAKE: return CFileException(directoryFull, osError);
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return CFileException(badSeek, osError);
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY: return CFileException(hardIO, osError);
    case ERROR_SHARING_VIOLATION: return CFileException(sharingViolation, osError);
    case ERROR_LOCK_VIOLATION: return CFileException(lockViolation, osError);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return CFileException(diskFull, osError);
    case ERROR_HANDLE_EOF: return CFileException(endOfFile, osError);
    default: return CFileException(genericException, osError);
    }
}

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
        if (error) *error = CFileException(CFileException::badPath, ERROR_INVALID_NAME);
        return FALSE;
    }

    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, !(flags & modeNoInherit)};
    m_handle = ::CreateFileW(WideFromCp932(path).c_str(), DesiredAccess(flags), ShareMode(flags), &security,
                             CreationDisposition(flags), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!IsOpen()) {
        if (error) *error = CFileException::FromOsError(::GetLastError());
        return FALSE;
    }
    if (error) *error = CFileException();
    return TRUE;
}

void CFile::ThrowIfClosed() const
{
    if (!IsOpen()) throw CFileException(CFileException::invalidFile, ERROR_INVALID_HANDLE);
}

UINT CFile::Read(void* buffer, UINT count)
{
    ThrowIfClosed();
    if (count == 0) return 0;
    if (!buffer) throw CFileException(CFileException::genericException, ERROR_INVALID_PARAMETER);
    DWORD read = 0;
    if (!::ReadFile(m_handle, buffer, count, &read, nullptr)) throw CFileException::FromOsError(::GetLastError());
    return read;
}

void CFile::Write(const void* buffer, UINT count)
{
    ThrowIfClosed();
    if (count == 0) return;
    if (!buffer) throw CFileException(CFileException::genericException, ERROR_INVALID_PARAMETER);
    DWORD written = 0;
    if (!::WriteFile(m_handle, buffer, count, &written, nullptr)) throw CFileException::FromOsError(::GetLastError());
    if (written != count) throw CFileException(CFileException::diskFull, ERROR_DISK_FULL);
}

void CFile::Close()
{
    if (!IsOpen()) return;
    HANDLE handle = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(handle)) throw CFileException::FromOsError(::GetLastError());
}

ULONGLONG CFile::GetLength() const
{
    ThrowIfClosed();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(m_handle, &size)) throw CFileException::FromOsError(::GetLastError());
    return static_cast<ULONGLONG>(size.QuadPart);
}

BOOL CFile::GetStatus(const char* path, CFileStatus& status)
{
    if (!path || !*path) return FALSE;
    const std::wstring widePath = WideFromCp932(path);
    // Wildcards would name a pattern, not a file.
    if (widePath.find_first_of(L"*?") != std::wstring::npos) return FALSE;

    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(widePath.c_str(), GetFileExInfoStandard, &data)) return FALSE;
    status.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    status.m_attribute = static_cast<BYTE>(data.dwFileAttributes & 0xFF);
    return TRUE;
}

void CFile::Remove(const char* path)
{
    if (!path || !*path) throw CFileException(CFileException::badPath, ERROR_INVALID_NAME);
    if (!::DeleteFileW(WideFromCp932(path).c_str())) throw CFileException::FromOsError(::GetLastError());
}
