// CReplacementFile: the new content of a file that must never be left half-written. The bytes
// go into a fresh file beside the target (created new, never an existing one); only when every
// byte is written and flushed does Commit move that file into the target's place. Until then,
// and after any failure, the target is untouched, and the fresh file is removed again.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Closes `handle`, flushed to the disk first unless a call before failed (`failedBefore`, the
// error of a write). NO_ERROR, or the error of the first call that failed: a close that fails
// after a failed write or flush, as on a network share that went away, does not hide why.
DWORD FlushAndClose(HANDLE handle, DWORD failedBefore = NO_ERROR);

class CReplacementFile {
public:
    CReplacementFile() = default;
    ~CReplacementFile();  // an uncommitted replacement is removed; never throws
    CReplacementFile(const CReplacementFile&) = delete;
    CReplacementFile& operator=(const CReplacementFile&) = delete;

    // Creates the fresh file in the folder of `targetPath` (CP932), first removing any that a
    // run killed while replacing the same target left there. False when it cannot be created
    // (missing folder, no access, invalid name), GetLastError telling why. The paths handed to
    // the system are extended-length ones: a target of any length can be replaced.
    bool Open(const char* targetPath);
    // Appends bytes. Writes are collected and handed to the system in large pieces. False when
    // not open or when a piece could not be written (a full disk): part of it may be on disk,
    // so the replacement is given up then and every later call fails.
    bool Write(const void* buffer, UINT count);
    // Writes what is collected, flushes it to the disk, closes the file and puts it in the
    // target's place (retrying a while when another program holds a file). False on any
    // failure; the fresh file is then removed and the target is as it was. However long that
    // takes, the calling thread answers the messages other threads send its windows.
    bool Commit();
    // Gives the replacement up: the fresh file is closed and removed. Safe to call any time.
    void Abandon();

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    bool CommitHere();  // Commit's work, on the thread that runs it
    bool WriteOut(const char* data, size_t size);
    bool AbandonKeepingError();

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    std::wstring m_newPath;
    std::wstring m_targetPath;  // the file the replacement takes the place of
    std::string m_pending;
};

// Runs `attempt`, one try at putting a file in the place of `target` (NO_ERROR or the error),
// again after a growing pause while it fails only because another program holds the file
// or the target, at most a few times, answering sent messages during the pauses. Its last
// result.
DWORD RetryWhileHeld(const std::wstring& target, const std::function<DWORD()>& attempt);
