#include "framework/Controls.h"

#include <string>

#include "framework/CodePage.h"

void CEdit::SetSel(int start, int end, BOOL noScroll)
{
    ::SendMessageW(m_hWnd, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
    if (!noScroll) ::SendMessageW(m_hWnd, EM_SCROLLCARET, 0, 0);
}

BOOL CEdit::GetExactText(CString& text) const
{
    text.Empty();
    const int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) return TRUE;
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, wide.data(), length + 1);
    wide.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    std::string bytes;
    const bool exact = Cp932FromWide(wide, bytes);
    text = CString(bytes.data(), static_cast<int>(bytes.size()));
    return exact ? TRUE : FALSE;
}

void AfxInitCommonControls()
{
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)initialised;
}
