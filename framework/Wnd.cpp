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

bool CWnd::GetWindowText(CString& text) const
{
    text.Empty();
    const int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) return true;

    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, wide.data(), length + 1);
    wide.resize(copied > 0 ? static_cast<size_t>(copied) : 0);

    std::string bytes;
    const bool exact = Cp932FromWide(wide, bytes);
    text = CString(bytes.data(), static_cast<int>(bytes.size()));
    return exact;
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type)
{
    if (!caption) return AfxShowMessageBox(m_hWnd, text, AfxGetAppName(), type);
    return AfxShowMessageBox(m_hWnd, text, caption, type);
}
