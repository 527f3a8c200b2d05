#include "framework/ReplacementFile.h"

#include "framework/CodePage.h"

namespace {

constexpr size_t kWriteChunk = 64 * 1024;
constexpr int kCreateAttempts = 16;
constexpr int kMoveAttempts = 6;
constexpr DWORD kMoveBackOffMs = 40;

// A virus scanner or an indexer may hold a fresh file, or the target, for a moment.
bool IsTransient(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

// A read-only target is not to be replaced.
bool IsReadOnly(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// "~" and the target's own name, then a number that makes it unique in the folder.
std::wstring FreshName(const std::wstring& folder, const std::wstring& targetName, int attempt)
{
    wchar_t suffix[32];
    wsprintfW(suffix, L".%08lx%02x.tmp", ::GetTickCount(), attempt);
    return folder + L"~" + targetName + suffix;
}

}  // namespace

CReplacementFile::~CReplacementFile()
{
    Abandon();
}

BOOL CReplacementFile::Open(const char* targetPath, CFileException* error)
{
    Abandon();
    if (!targetPath || !*targetPath) {
        if (error) *error = CFileException(ERROR_INVALID_NAME);
        return FALSE;
    }
    // Split in UTF-16, where no separator can hide inside a double-byte character.
    const std::wstring wideTarget = WideFromCp932(targetPath);
    const size_t cut = wideTarget.find_last_of(L"\\/:");
    const size_t nameStart = cut == std::wstring::npos ? 0 : cut + 1;
    const std::wstring wideFolder = wideTarget.substr(0, nameStart);
    const std::wstring targetName = wideTarget.substr(nameStart);

    DWORD lastError = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < kCreateAttempts && lastError == ERROR_FILE_EXISTS; ++attempt) {
        const std::wstring candidate = FreshName(wideFolder, targetName, attempt);
        m_handle = ::CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (IsOpen()) {
            m_newPath = candidate;
            m_targetPath = wideTarget;
            if (error) *error = CFileException();
            return TRUE;
        }
        lastError = ::GetLastError();
    }
    if (error) *error = CFileException(lastError);
    return FALSE;
}

void CReplacementFile::Write(const void* buffer, UINT count)
{
    if (!IsOpen()) throw CFileException(ERROR_INVALID_HANDLE);
    if (count == 0) return;
    if (!buffer) throw CFileException(ERROR_INVALID_PARAMETER);
    m_pending.append(static_cast<const char*>(buffer), count);
    if (m_pending.size() >= kWriteChunk) {
        try {
            WriteOut(m_pending.data(), m_pending.size());
        } catch (const CFileException&) {
            // Part of the collected bytes may be on disk already: the file can never become
            // whole again, so it is given up at once and every later call fails.
            Abandon();
            throw;
        }
        m_pending.clear();
    }
}

void CReplacementFile::WriteOut(const char* data, size_t size)
{
    while (size > 0) {
        const DWORD piece = size > kWriteChunk ? static_cast<DWORD>(kWriteChunk) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(m_handle, data, piece, &written, nullptr)) {
            throw CFileException(::GetLastError());
        }
        if (written != piece) throw CFileException(ERROR_DISK_FULL);
        data += piece;
        size -= piece;
    }
}

BOOL CReplacementFile::Commit()
{
    if (!IsOpen()) return FALSE;
    try {
        WriteOut(m_pending.data(), m_pending.size());
    } catch (const CFileException&) {
        Abandon();
        return FALSE;
    }
    m_pending.clear();
    const bool flushed = ::FlushFileBuffers(m_handle) != FALSE;
    const bool closed = ::CloseHandle(m_handle) != FALSE;
    m_handle = INVALID_HANDLE_VALUE;
    if (!flushed || !closed) {
        Abandon();
        return FALSE;
    }
    // Windows refuses to move onto a read-only file; Wine, run as root, would replace it.
    if (IsReadOnly(m_targetPath)) {
        Abandon();
        return FALSE;
    }
    for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
        if (::MoveFileExW(m_newPath.c_str(), m_targetPath.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            m_newPath.clear();
            return TRUE;
        }
        if (!IsTransient(::GetLastError())) break;
        ::Sleep(kMoveBackOffMs * static_cast<DWORD>(attempt + 1));
    }
    Abandon();
    return FALSE;
}

void CReplacementFile::Abandon()
{
    if (IsOpen()) {
        ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
    if (!m_newPath.empty()) {
        ::DeleteFileW(m_newPath.c_str());
        m_newPath.clear();
    }
    m_pending.clear();
}
