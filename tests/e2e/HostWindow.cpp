#include "tests/e2e/HostWindow.h"

namespace {

const wchar_t kClassName[] = L"BridgeTestHost";
const int kDefaultWidth = 640;
const int kDefaultHeight = 480;

void RegisterHostClass()
{
    static bool registered = false;
    if (registered) return;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    registered = RegisterClassW(&windowClass) != 0;
}

void DispatchWaiting()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

HostWindow::HostWindow()
{
    RegisterHostClass();
    const DPI_AWARENESS_CONTEXT previous = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
    window_ = CreateWindowExW(0, kClassName, L"Host product", WS_OVERLAPPEDWINDOW, 0, 0, kDefaultWidth,
                              kDefaultHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (previous != nullptr) SetThreadDpiAwarenessContext(previous);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HostWindow::Procedure));
}

void HostWindow::Show(bool shown)
{
    if (!shown || shownAs_ == Shown::hidden) ShowWindow(window_, SW_HIDE);
    else ShowWindow(window_, shownAs_ == Shown::minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
}

// In the window's own coordinates, those of a window that is not DPI aware.
void HostWindow::Place(int x, int y, int width, int height)
{
    const DPI_AWARENESS_CONTEXT previous = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
    SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (previous != nullptr) SetThreadDpiAwarenessContext(previous);
}

HostWindow::~HostWindow()
{
    if (window_ != nullptr) DestroyWindow(window_);
}

void HostWindow::Forget()
{
    enableChanges_.clear();
    posted_.clear();
    events_ = GetActiveWindow() == window_ ? L"a" : L"";
}

LRESULT CALLBACK HostWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) {
        if (message == WM_ENABLE) {
            self->enableChanges_.push_back(wParam != FALSE);
            self->events_ += wParam != FALSE ? L'e' : L'd';
        }
        if (message == WM_ACTIVATE) self->events_ += LOWORD(wParam) != WA_INACTIVE ? L'a' : L'i';
        if (message >= WM_USER && message <= 0xFFFF) {
            self->posted_.push_back({message, wParam, lParam});
            self->events_ += L'p';
            return 0;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void PumpMessagesFor(DWORD ms)
{
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        DispatchWaiting();
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
}

bool WaitPumping(HANDLE handle, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        DispatchWaiting();
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        const DWORD woken = MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) {
            DispatchWaiting();  // what the run posted just before it ended
            return true;
        }
        if (woken != WAIT_OBJECT_0 + 1) return false;  // timed out, or the handle is bad
    }
}
