#include "framework/ReplacementFile.h"

#include "framework/CodePage.h"
#include "framework/LongPath.h"
#include "framework/MessageQueue.h"
#include "framework/TestSeams.h"

namespace {

constexpr size_t kWriteChunk = 64 * 1024;
constexpr int kCreateAttempts = 16;
constexpr int kMoveAttempts = 6;
constexpr DWORD kMoveBackOffMs = 40;
// A fresh name keeps this much of the target's name, so that it stays short whatever the
// target's length: the file system's limit is on each name as well as on the whole path.
constexpr size_t kNameKept = 24;

// Whether another program holds the file at `path` so that it cannot be removed (opened
// without sharing deletion), as a virus scanner or a reader of the old file may for a moment.
bool IsHeldByAnother(const std::wstring& path)
{
    HANDLE handle = ::CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle);
        return false;
    }
    return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

// Only a file that another program holds lets go again. Windows refuses to replace a held
// target with "access denied", as it refuses a folder in the target's place or a target it
// may not remove, which stay as they are however long one waits.
bool MayLetGo(DWORD error, const std::wstring& target)
{
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return true;
    return error == ERROR_ACCESS_DENIED && IsHeldByAnother(target);
}

// A read-only target is not to be replaced.
bool IsReadOnly(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// The 32-bit FNV-1a hash of the whole name, which tells apart targets whose kept parts agree.
DWORD NameMark(const std::wstring& name)
{
    DWORD hash = 2166136261u;
    for (const wchar_t unit : name) hash = (hash ^ unit) * 16777619u;
    return hash;
}

// "~", the start of the target's name, its mark and the attempt, ".tmp": the same names for
// the same target in every run, so that one left by a run that was killed is known for what
// it is, and no other file's.
std::wstring FreshName(const std::wstring& targetName, int attempt)
{
    wchar_t suffix[32];
    wsprintfW(suffix, L".%08lx%02x.tmp", NameMark(targetName), attempt);
    return L"~" + targetName.substr(0, kNameKept) + suffix;
}

DWORD MoveIntoPlace(const std::wstring& from, const std::wstring& to)
{
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? NO_ERROR
               : ::GetLastError();
}

DWORD& CommitDelayMs()
{
    static DWORD delayMs = 0;
    return delayMs;
}

}  // namespace

void SetReplacementCommitDelay(DWORD ms)
{
    CommitDelayMs() = ms;
}

DWORD RetryWhileHeld(const std::wstring& target, const std::function<DWORD()>& attempt)
{
    DWORD error = attempt();
    for (int done = 1; done < kMoveAttempts && MayLetGo(error, target); ++done) {
        SleepAnsweringSentMessages(kMoveBackOffMs * static_cast<DWORD>(done));
        error = attempt();
    }
    return error;
}

CReplacementFile::~CReplacementFile()
{
    Abandon();
}

bool CReplacementFile::Open(const char* targetPath)
{
    Abandon();
    if (!targetPath || !*targetPath) {
        ::SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    // Split in UTF-16, where no separator can hide inside a double-byte character; the full
    // path has only backslashes.
    const std::wstring wideTarget = ExtendedLengthPath(WideFromCp932(targetPath));
    const size_t nameStart = wideTarget.find_last_of(L'\\') + 1;  // 0 when there is none
    const std::wstring wideFolder = wideTarget.substr(0, nameStart);
    const std::wstring targetName = wideTarget.substr(nameStart);
    // Fresh files a killed run left for this target; one still open in a run is not removed.
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt)
        ::DeleteFileW((wideFolder + FreshName(targetName, attempt)).c_str());

    DWORD lastError = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < kCreateAttempts && lastError == ERROR_FILE_EXISTS; ++attempt) {
        const std::wstring candidate = wideFolder + FreshName(targetName, attempt);
        m_handle = ::CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (IsOpen()) {
            m_newPath = candidate;
            m_targetPath = wideTarget;
            return true;
        }
        lastError = ::GetLastError();
    }
    ::SetLastError(lastError);
    return false;
}

bool CReplacementFile::Write(const void* buffer, UINT count)
{
    if (!IsOpen()) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (count == 0) return true;
    if (!buffer) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    m_pending.append(static_cast<const char*>(buffer), count);
    if (m_pending.size() < kWriteChunk) return true;
    const bool written = WriteOut(m_pending.data(), m_pending.size());
    m_pending.clear();
    // Part of the collected bytes may be on disk already: the file can never become whole
    // again, so it is given up at once and every later call fails.
    if (!written) AbandonKeepingError();
    return written;
}

bool CReplacementFile::WriteOut(const char* data, size_t size)
{
    while (size > 0) {
        const DWORD piece = size > kWriteChunk ? static_cast<DWORD>(kWriteChunk) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(m_handle, data, piece, &written, nullptr)) return false;
        if (written != piece) {
            ::SetLastError(ERROR_DISK_FULL);
            return false;
        }
        data += piece;
        size -= piece;
    }
    return true;
}

// The flush and the move can take seconds (a network share, another program holding the
// target): they run on a thread of their own while this one answers what other threads send
// its windows.
bool CReplacementFile::Commit()
{
    return RunAnsweringSentMessages([this] {
        if (CommitDelayMs() > 0) ::Sleep(CommitDelayMs());
        return CommitHere();
    });
}

bool CReplacementFile::CommitHere()
{
    if (!IsOpen()) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    const DWORD writeError = WriteOut(m_pending.data(), m_pending.size()) ? NO_ERROR : ::GetLastError();
    m_pending.clear();
    const DWORD error = FlushAndClose(m_handle, writeError);
    m_handle = INVALID_HANDLE_VALUE;
    if (error != NO_ERROR) {
        ::SetLastError(error);
        return AbandonKeepingError();
    }
    // Windows refuses to move onto a read-only file; Wine, run as root, would replace it.
    if (IsReadOnly(m_targetPath)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return AbandonKeepingError();
    }
    const DWORD moved = RetryWhileHeld(m_targetPath, [this] { return MoveIntoPlace(m_newPath, m_targetPath); });
    if (moved != NO_ERROR) {
        ::SetLastError(moved);
        return AbandonKeepingError();
    }
    m_newPath.clear();
    return true;
}

// Abandon, with the error that caused it still the thread's last error. Always false.
bool CReplacementFile::AbandonKeepingError()
{
    const DWORD error = ::GetLastError();
    Abandon();
    ::SetLastError(error);
    return false;
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

DWORD FlushAndClose(HANDLE handle, DWORD failedBefore)
{
    DWORD error = failedBefore;
    if (error == NO_ERROR && !::FlushFileBuffers(handle)) error = ::GetLastError();
    if (!::CloseHandle(handle) && error == NO_ERROR) error = ::GetLastError();
    return error;
}
