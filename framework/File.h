// CFile: a file opened through CreateFileW, path given as CP932. Open reports failure as a
// result; Read, Write and GetLength throw CFileException. Always binary. Paths of any
// length are handed to the system in extended-length form (framework/LongPath.h).
#pragma once

#include <windows.h>

// A failed file operation, with the Windows error code that says why.
class CFileException {
public:
    explicit CFileException(DWORD osError = NO_ERROR) : m_lOsError(osError) {}

    DWORD m_lOsError;
};

struct CFileStatus {
    ULONGLONG m_size;
    BYTE m_attribute;  // the low byte of the file attributes (FILE_ATTRIBUTE_DIRECTORY, ...)
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000, modeWrite = 0x0001, modeReadWrite = 0x0002,
        shareCompat = 0x0000, shareExclusive = 0x0010, shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030, shareDenyNone = 0x0040,
        modeNoInherit = 0x0080, modeCreate = 0x1000, modeNoTruncate = 0x2000,
        typeText = 0x4000, typeBinary = 0x8000  // both mean binary here
    };

    CFile() = default;
    ~CFile();  // closes the file, never throws
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Never throws. FALSE on failure, with `error` (when given) telling why. modeCreate
    // creates the file or truncates an existing one (with modeNoTruncate: keeps its content).
    // A file still open in this object is closed first.
    BOOL Open(const char* path, UINT flags, CFileException* error = nullptr);
    UINT Read(void* buffer, UINT count);         // the bytes read; 0 at the end of the file
    void Write(const void* buffer, UINT count);  // all of them, or throws (diskFull when short)
    void Close();                                // throws when the system reports a failure
    ULONGLONG GetLength() const;
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

    // FALSE when nothing of that name exists (or the name is not a plain path), with `error`
    // (when given) telling why: ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND when there is
    // nothing of that name, another code when the system could not tell.
    static BOOL GetStatus(const char* path, CFileStatus& status, CFileException* error = nullptr);

private:
    void ThrowIfClosed() const;

    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
