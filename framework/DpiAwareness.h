// DPI awareness per window and per thread, which Windows has from Windows 10 1607 on. The
// functions are looked up when first called, so that the program still starts on older
// systems, where there is one awareness for the whole process and these change nothing.
#pragma once

#include <windows.h>

// GetWindowDpiAwarenessContext, for a window of any process; null where Windows lacks it.
DPI_AWARENESS_CONTEXT AfxGetWindowDpiAwarenessContext(HWND window);
// SetThreadDpiAwarenessContext: the thread's previous context, null where nothing changed.
DPI_AWARENESS_CONTEXT AfxSetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT context);

// While it lives, the windows this thread creates, and the coordinates it reads and gives,
// are those of the awareness of `model`; a null model changes nothing.
class CDpiAwarenessScope {
public:
    explicit CDpiAwarenessScope(HWND model);
    ~CDpiAwarenessScope();
    CDpiAwarenessScope(const CDpiAwarenessScope&) = delete;
    CDpiAwarenessScope& operator=(const CDpiAwarenessScope&) = delete;

private:
    DPI_AWARENESS_CONTEXT m_previous = nullptr;
};
