// A named kernel mutex, held open for the life of the object: while one process holds it, a
// second that creates it by the same name learns that it exists. Nobody waits on it.
#pragma once

#include <windows.h>

class CNamedMutex {
public:
    enum Created { kCreated = 1, kAlreadyHeld = 0, kFailed = -1 };

    CNamedMutex() = default;
    ~CNamedMutex();
    CNamedMutex(const CNamedMutex&) = delete;
    CNamedMutex& operator=(const CNamedMutex&) = delete;

    // CreateMutexW with the name converted from CP932. Held only when it was created here: a
    // mutex another process holds is let go of at once.
    Created Create(const char* name);
    // CloseHandle: the name is free for the next process.
    void Close();

private:
    HANDLE m_hMutex = nullptr;
};
