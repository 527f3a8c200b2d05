#pragma once
// The host product's window: a real top-level window of the test program, whose handle goes
// on the command line, shown while a run started with it goes on. Like an older product's, it
// is not DPI aware. The run
// disables it, parents its windows to it and posts its completion message to it; the window
// records WM_ENABLE and every application message as they arrive. Its thread must keep
// handling messages while a run is going on (the run's EnableWindow and SetParent on it wait
// for that thread): every wait of the e2e driver pumps.

#include <windows.h>

#include <string>
#include <vector>

class HostWindow {
public:
    struct Posted {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Handle() const { return window_; }
    // Moves the window to (x, y) on the screen and gives it that size (frame included).
    void Place(int x, int y, int width, int height);
    // How Show(true) shows the window: restored, minimized, or not at all (a host that keeps
    // its window hidden).
    enum class Shown { restored, minimized, hidden };
    void ShowAs(Shown how) { shownAs_ = how; }
    void Show(bool shown);
    // The handle as the host writes it on the command line.
    long HandleNumber() const { return static_cast<long>(reinterpret_cast<intptr_t>(window_)); }

    // The WM_ENABLE notices in order of arrival: false when disabled, true when enabled.
    const std::vector<bool>& EnableChanges() const { return enableChanges_; }
    // Messages from WM_USER up, in order of arrival.
    const std::vector<Posted>& PostedMessages() const { return posted_; }
    // What happened to the window, a letter an event in order of arrival: 'd' disabled,
    // 'e' enabled, 'a' activated (brought to the foreground), 'i' made inactive, 'p' a
    // message posted. After Forget it starts with 'a' when the window is the active one.
    const std::wstring& Events() const { return events_; }
    bool IsEnabled() const { return IsWindowEnabled(window_) != FALSE; }
    // Clears what was recorded, before another run is started against the same window.
    void Forget();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<bool> enableChanges_;
    std::vector<Posted> posted_;
    std::wstring events_;
    Shown shownAs_ = Shown::restored;
};

// Handles this thread's messages (sent and posted) for `ms` milliseconds.
void PumpMessagesFor(DWORD ms);

// Waits up to `timeoutMs` for `handle` to be signalled, handling this thread's messages
// meanwhile. True when it was signalled.
bool WaitPumping(HANDLE handle, DWORD timeoutMs);
