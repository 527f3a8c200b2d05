// CWnd: a window handle with the window operations the program uses. The object does not own
// its window; only dialogs (CDialog) destroy theirs. A CWnd made from a handle is a plain value:
// nothing is kept for it, so a wrapper for a moment costs nothing. Every text crosses as code
// page 932.
#pragma once

#include <windows.h>

#include "framework/CodePage.h"
#include "framework/String.h"

// Marks message handlers in class declarations, as in the code this framework mirrors.
#define afx_msg

struct AfxMessageMap;

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = default;
    CWnd& operator=(const CWnd&) = default;

    HWND GetSafeHwnd() const { return m_hWnd; }  // null when no window is attached

    BOOL EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }  // the handle names an existing window
    CWnd SetParent(const CWnd* parent)  // returns the previous parent; null handle on failure
    {
        return CWnd(::SetParent(m_hWnd, parent ? parent->m_hWnd : nullptr));
    }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    void SetWindowText(const char* text) { ::SetWindowTextW(m_hWnd, WideFromCp932(text ? text : "").c_str()); }
    // The text as CP932; false when some character has no CP932 form (it reads as '?').
    bool GetWindowText(CString& text) const;
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    // Without a window these draw nothing: Windows takes a null window as the whole desktop.
    void Invalidate(BOOL erase = TRUE) { if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL RedrawWindow(UINT flags) { return m_hWnd && ::RedrawWindow(m_hWnd, nullptr, nullptr, flags); }
    BOOL BringWindowToTop() { return ::BringWindowToTop(m_hWnd); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL DestroyWindow() { return ::DestroyWindow(m_hWnd); }
    // A message box owned by this window; a null caption gives the application's title.
    // Virtual so that a window that draws lazily can draw itself before the box appears.
    virtual int MessageBox(const char* text, const char* caption, UINT type);

    HWND m_hWnd = nullptr;

protected:
    // The end of every message map chain (see framework/MessageMap.h).
    static const AfxMessageMap* GetThisMessageMap() { return nullptr; }
};
