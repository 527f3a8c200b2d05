#include "framework/Wnd.h"

#include <string>

#include "framework/CodePage.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"

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
