// CFile: a file opened through CreateFileW, path given as CP932. Always binary. Paths of any
// length are handed to the system in extended-length form (framework/LongPath.h).
// Every operation says as the system does whether it worked: false on failure, with
// GetLastError telling why (a failure the wrapper finds itself sets it as the system would).
// Nothing here throws: a file error is handled where it arises.
#pragma once

#include <windows.h>

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

    // modeCreate creates the file or truncates an existing one (with modeNoTruncate: keeps its
    // content). A file still open in this object is closed first.
    bool Open(const char* path, UINT flags);
    // `read` is the number of bytes read: 0 at the end of the file.
    bool Read(void* buffer, UINT count, UINT& read);
    // All of the bytes or false (ERROR_DISK_FULL when the system took only some).
    bool Write(const void* buffer, UINT count);
    bool Close();  // true when nothing is open
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

    // False when nothing of that name exists (or the name is not a plain path):
    // ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND when there is nothing of that name, another
    // code when the system could not tell.
    static bool GetStatus(const char* path, CFileStatus& status);

private:
    // True, with the reason set, when nothing is open or bytes are asked for without a buffer.
    bool RefusesTransfer(const void* buffer, UINT count) const;

    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
