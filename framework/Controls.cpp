#include "framework/Controls.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <string>

#include "framework/CodePage.h"

void CEdit::LimitText(int maxChars)
{
    ::SendMessageW(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(maxChars > 0 ? maxChars : 0), 0);
}

void CEdit::SetSel(int start, int end, BOOL noScroll)
{
    ::SendMessageW(m_hWnd, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
    if (!noScroll) ::SendMessageW(m_hWnd, EM_SCROLLCARET, 0, 0);
}

DWORD CEdit::GetSel() const
{
    return static_cast<DWORD>(::SendMessageW(m_hWnd, EM_GETSEL, 0, 0));
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

int CButton::GetCheck() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0));
}

void CButton::SetCheck(int check)
{
    ::SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}

void CProgressCtrl::SetRange(short lower, short upper)
{
    ::SendMessageW(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(lower, upper));
}

int CProgressCtrl::SetStep(int step)
{
    return static_cast<int>(::SendMessageW(m_hWnd, PBM_SETSTEP, static_cast<WPARAM>(step), 0));
}

int CProgressCtrl::SetPos(int position)
{
    return static_cast<int>(::SendMessageW(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(position), 0));
}

int CProgressCtrl::OffsetPos(int delta)
{
    return static_cast<int>(::SendMessageW(m_hWnd, PBM_DELTAPOS, static_cast<WPARAM>(delta), 0));
}

int CProgressCtrl::GetPos() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, PBM_GETPOS, 0, 0));
}

HRESULT CProgressCtrl::SetWindowTheme(const wchar_t* subAppName, const wchar_t* subIdList)
{
    return ::SetWindowTheme(m_hWnd, subAppName, subIdList);
}

void AfxInitCommonControls()
{
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)initialised;
}
