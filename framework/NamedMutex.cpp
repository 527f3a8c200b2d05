#include "framework/NamedMutex.h"

#include "framework/CodePage.h"

CNamedMutex::~CNamedMutex()
{
    Close();
}

void CNamedMutex::Close()
{
    if (m_hMutex != nullptr) ::CloseHandle(m_hMutex);
    m_hMutex = nullptr;
}

CNamedMutex::Created CNamedMutex::Create(const char* name)
{
    if (m_hMutex != nullptr) return kCreated;
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, WideFromCp932(name).c_str());
    const DWORD error = ::GetLastError();
    if (mutex == nullptr) return error == ERROR_ACCESS_DENIED ? kAlreadyHeld : kFailed;
    if (error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return kAlreadyHeld;
    }
    m_hMutex = mutex;
    return kCreated;
}
