#pragma once
// One run at a time for a host window. The host may start the program again for a window that
// a run still holds (disabled, waiting for its result); that second start must leave the
// window to the run that holds it.

#include <windows.h>

#include "framework/NamedMutex.h"

class HostWindowClaim {
public:
    // False when another run holds `hostWnd`. True when this run holds it now, and also when
    // the system gives no named object to tell by: the run then goes on as it always did.
    // The window is held until Release, or until the object goes.
    bool Claim(HWND hostWnd);
    void Release() { m_mutex.Close(); }

private:
    CNamedMutex m_mutex;
};
