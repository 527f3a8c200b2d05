#include "tests/e2e/WindowDriver.h"

namespace {

const DWORD kPollMs = 20;
const UINT kSendTimeoutMs = 2000;
const int kMessageBoxTextId = 0xFFFF;

struct DialogSearch {
    DWORD pid;
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid) return TRUE;
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) != L"#32770") return TRUE;
    if (WindowText(window) != *search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindDialog(DWORD pid, const std::wstring& caption)
{
    DialogSearch search{pid, &caption, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

HWND WaitForDialog(DWORD pid, const std::wstring& caption, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        HWND found = FindDialog(pid, caption);
        if (found != nullptr && IsWindowVisible(found)) return found;
        if (GetTickCount64() >= deadline) return nullptr;
        Sleep(kPollMs);
    }
}

bool ShowsNoDialog(DWORD pid, const std::wstring& caption)
{
    return WaitForDialog(pid, caption, 500) == nullptr;
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
