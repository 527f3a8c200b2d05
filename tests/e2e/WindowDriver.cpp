#include "tests/e2e/WindowDriver.h"

#include "tests/e2e/HostWindow.h"

namespace {

const DWORD kPollMs = 20;
const UINT kSendTimeoutMs = 2000;
const int kMessageBoxTextId = 0xFFFF;

// Dialogs (class #32770) of one process on screen, top-level ones and those that were made
// children of one of our windows (the run parents its progress window to the host's).
struct DialogSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == GetCurrentProcessId() && search->pid != pid) {
        EnumChildWindows(window, CollectDialog, param);
        return TRUE;
    }
    if (pid != search->pid || !IsOnScreen(window)) return TRUE;
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) == L"#32770") search->found.push_back(window);
    return TRUE;
}

HWND FindDialog(DWORD pid, const std::wstring& caption)
{
    for (HWND dialog : VisibleDialogs(pid)) {
        if (CaptionText(dialog) == caption) return dialog;
    }
    return nullptr;
}

}  // namespace

RECT VisibleArea(HWND window)
{
    const HWND parent = GetAncestor(window, GA_PARENT);
    if (parent == nullptr || parent == GetDesktopWindow()) {
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    RECT client = {};
    GetClientRect(parent, &client);
    MapWindowPoints(parent, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    const RECT above = VisibleArea(parent);
    RECT area = {};
    IntersectRect(&area, &client, &above);
    return area;
}

bool IsOnScreen(HWND window)
{
    RECT rect = {}, seen = {};
    const RECT area = VisibleArea(window);
    return IsWindowVisible(window) && GetWindowRect(window, &rect) && IntersectRect(&seen, &rect, &area);
}

bool IsWhollyOnScreen(HWND window)
{
    RECT rect = {}, seen = {};
    const RECT area = VisibleArea(window);
    return IsOnScreen(window) && GetWindowRect(window, &rect) && IntersectRect(&seen, &rect, &area) &&
           EqualRect(&seen, &rect);
}

std::vector<HWND> VisibleDialogs(DWORD pid)
{
    DialogSearch search{pid, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(DWORD pid, const std::wstring& caption, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        HWND found = FindDialog(pid, caption);
        if (found != nullptr) return found;
        if (GetTickCount64() >= deadline) return nullptr;
        PumpMessagesFor(kPollMs);  // our own host window may be what the run waits for
    }
}

std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &copied)) {
        return L"";
    }
    return std::wstring(text, copied);
}

std::wstring CaptionText(HWND window)
{
    wchar_t text[1024] = {};
    const int length = InternalGetWindowText(window, text, 1024);
    return std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring ControlText(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    return control != nullptr ? WindowText(control) : L"";
}

std::wstring MessageBoxText(HWND box)
{
    return ControlText(box, kMessageBoxTextId);
}

void SetControlText(HWND dialog, int controlId, const std::wstring& text)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, controlId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
}

void ClickButton(HWND dialog, int controlId)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, controlId)));
}

void ToggleCheckBox(HWND dialog, int controlId)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
}

bool IsChecked(HWND dialog, int controlId)
{
    DWORD_PTR state = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, controlId), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &state);
    return state == BST_CHECKED;
}

bool IsControlEnabled(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    return control != nullptr && IsWindowEnabled(control) != FALSE;
}
