#include "app/ProgressPlacement.h"

#include "app/ProgressDlg.h"
#include "framework/DpiAwareness.h"
#include "res/resource.h"

namespace {

// A minimized host window shows no client area, and neither does one its program keeps hidden.
bool ShowsClientArea(HWND host)
{
    return ::IsWindowVisible(host) && !::IsIconic(host);
}

// What the user can see of the host window's client area, in screen coordinates: its part
// within the work area of the host's monitor, or the whole area when none of it is there.
// For a host window that shows no client area, the work area of the monitor it is (or was) on.
RECT VisibleClientArea(HWND host)
{
    RECT client = {};
    ::GetClientRect(host, &client);
    ::MapWindowPoints(host, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(host, MONITOR_DEFAULTTONEAREST), &monitor)) return client;
    if (!ShowsClientArea(host)) return monitor.rcWork;
    RECT visible = {};
    return ::IntersectRect(&visible, &client, &monitor.rcWork) ? visible : client;
}

// Centred between start and end when it fits, else at the start.
LONG PlaceAlong(LONG start, LONG end, LONG length)
{
    return length <= end - start ? start + (end - start - length) / 2 : start;
}

// The window takes the child style before it is given a parent, as Windows asks: a pop-up
// with a parent is neither top-level nor child, and a window it owned (the final message)
// would not count as the host's. Refused, the window stays the pop-up it was.
void MakeChildOf(CWnd& window, CWnd& host)
{
    const HWND hwnd = window.GetSafeHwnd();
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD);
    if (window.SetParent(&host).GetSafeHwnd() == nullptr) ::SetWindowLongPtrW(hwnd, GWL_STYLE, style);
}

}  // namespace

void PlaceOverHost(HWND window, HWND host)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    const RECT area = VisibleClientArea(host);
    POINT at = {PlaceAlong(area.left, area.right, rect.right - rect.left),
                PlaceAlong(area.top, area.bottom, rect.bottom - rect.top)};
    // A child is placed in its parent's client coordinates, a top-level window in the screen's.
    if (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) ::ScreenToClient(host, &at);
    ::SetWindowPos(window, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

BOOL ShowProgressWindow(CProgressDlg& progressDlg, CWnd* hostWnd)
{
    const HWND host = hostWnd != nullptr ? hostWnd->GetSafeHwnd() : nullptr;
    const CDpiAwarenessScope hostAwareness(host);
    // Owned by the host window, it stays in front of it where the parenting is refused.
    if (!progressDlg.Create(IDD_PROGRESS, hostWnd)) return FALSE;
    if (host != nullptr) {
        // A child of a window that shows no client area cannot be seen; the host's pop-up can.
        if (ShowsClientArea(host)) MakeChildOf(progressDlg, *hostWnd);
        PlaceOverHost(progressDlg.GetSafeHwnd(), host);
    }
    progressDlg.ShowWindow(SW_SHOW);
    return TRUE;
}
