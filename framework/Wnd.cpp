#include "framework/Wnd.h"

#include <memory>
#include <unordered_map>

#include "framework/CodePage.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"

namespace {

// Both maps are never destroyed: wrappers handed out stay valid until the process ends,
// also for code that runs during static destruction.
std::unordered_map<HWND, CWnd*>& PermanentWindows()
{
    static auto* windows = new std::unordered_map<HWND, CWnd*>;
    return *windows;
}

std::unordered_map<HWND, std::unique_ptr<CWnd>>& WrapperWindows()
{
    static auto* windows = new std::unordered_map<HWND, std::unique_ptr<CWnd>>;
    return *windows;
}

}  // namespace

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd) return nullptr;
    if (auto found = PermanentWindows().find(hwnd); found != PermanentWindows().end()) return found->second;

    std::unique_ptr<CWnd>& wrapper = WrapperWindows()[hwnd];
    if (!wrapper) {
        wrapper = std::make_unique<CWnd>();
        wrapper->m_hWnd = hwnd;
    }
    return wrapper.get();
}

void CWnd::RegisterPermanent(HWND hwnd, CWnd* window)
{
    if (hwnd) PermanentWindows()[hwnd] = window;
}

void CWnd::UnregisterPermanent(HWND hwnd)
{
    PermanentWindows().erase(hwnd);
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    return ::EnableWindow(m_hWnd, enable);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::IsWindow() const
{
    return ::IsWindow(m_hWnd);
}

CWnd* CWnd::SetParent(CWnd* parent)
{
    return FromHandle(::SetParent(m_hWnd, parent ? parent->m_hWnd : nullptr));
}

BOOL CWnd::ShowWindow(int command)
{
    return ::ShowWindow(m_hWnd, command);
}

void CWnd::SetWindowText(const char* text)
{
    ::SetWindowTextW(m_hWnd, WideFromCp932(text ? text : "").c_str());
}

void CWnd::GetWindowText(CString& text) const
{
    text.Empty();
    const int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) return;

    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, wide.data(), length + 1);
    wide.resize(copied > 0 ? static_cast<size_t>(copied) : 0);

    std::string bytes;
    Cp932FromWide(wide, bytes);  // a character without a CP932 form reads as '?'
    text = CString(bytes.data(), static_cast<int>(bytes.size()));
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

BOOL CWnd::BringWindowToTop()
{
    return ::BringWindowToTop(m_hWnd);
}

BOOL CWnd::SetForegroundWindow()
{
    return ::SetForegroundWindow(m_hWnd);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::DestroyWindow()
{
    return ::DestroyWindow(m_hWnd);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type)
{
    if (!caption) return AfxShowMessageBox(m_hWnd, text, AfxGetAppName(), type);
    return AfxShowMessageBox(m_hWnd, text, caption, type);
}
