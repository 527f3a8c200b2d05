// Holds Wine's desktop open for a whole test session (tools/wine-session starts it).
//
// Wine starts its desktop process (explorer.exe /desktop) when a program first needs the
// desktop window, and hands it that program's standard error; the desktop process ends about
// a second after the last program on the desktop is gone, and the next program that needs a
// window starts it again. A test program that starts it leaves its output pipe open in the
// desktop process, and CTest waits for that pipe: the test seems to run until the desktop
// closes, often for the rest of the run. This program, started with its standard handles on
// /dev/null, is the one that starts the desktop, and it stays on the desktop, so the desktop
// never closes between tests and no test's output is held.
//
// wine_desktop READY_FILE: creates READY_FILE once the desktop is up, then waits until the
// session ends it (or an hour has passed, so that an interrupted run leaves nothing behind
// for long).

#include <windows.h>

namespace {

const UINT kLifetimeMs = 60 * 60 * 1000;

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) return 2;

    // Asking for the desktop window waits until Wine's desktop process has made it; a window
    // of our own (never shown) keeps this program on the desktop.
    if (!GetDesktopWindow()) return 1;
    HWND window = CreateWindowExW(0, L"STATIC", L"wine_desktop", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) return 1;

    HANDLE ready = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
    if (ready == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(ready);

    SetTimer(nullptr, 0, kLifetimeMs, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) break;
        DispatchMessageW(&message);
    }
    DestroyWindow(window);
    return 0;
}
