// While the object lives, a shutdown of Windows that waits for the program names this reason
// beside the window (ShutdownBlockReasonCreate). Windows takes a reason only for a top-level
// window of the calling thread; where it refuses (a child window), nothing is said and the
// shutdown goes on as ever.
#pragma once

#include <windows.h>

#include "framework/CodePage.h"

class CShutdownBlockReason {
public:
    CShutdownBlockReason(HWND window, const char* reason)
        : m_hWnd(::ShutdownBlockReasonCreate(window, WideFromCp932(reason).c_str()) ? window : nullptr)
    {
    }
    ~CShutdownBlockReason()
    {
        if (m_hWnd != nullptr) ::ShutdownBlockReasonDestroy(m_hWnd);
    }
    CShutdownBlockReason(const CShutdownBlockReason&) = delete;
    CShutdownBlockReason& operator=(const CShutdownBlockReason&) = delete;

private:
    HWND m_hWnd;  // the window the reason was given for; null when Windows refused it
};
