// The dialog controls the program uses, each a window handle with the messages of its class.
// They are bound to a dialog's controls by DDX_Control and never own their windows.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include "framework/Wnd.h"

class CEdit : public CWnd {
public:
    // EM_LIMITTEXT, in UTF-16 characters; 0: no limit
    void LimitText(int maxChars) { ::SendMessageW(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(maxChars > 0 ? maxChars : 0), 0); }
    // Selects start..end (-1 as end: to the end of the text) and scrolls the caret into view.
    void SetSel(int start, int end);
};

class CButton : public CWnd {
public:
    // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
    int GetCheck() const { return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int check) { ::SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0); }
};

class CStatic : public CWnd {};

class CProgressCtrl : public CWnd {
public:
    void SetRange(short lower, short upper) { ::SendMessageW(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    // returns the previous step
    int SetStep(int step) { return static_cast<int>(::SendMessageW(m_hWnd, PBM_SETSTEP, static_cast<WPARAM>(step), 0)); }
    // returns the previous position
    int SetPos(int position) { return static_cast<int>(::SendMessageW(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(position), 0)); }
    int GetPos() const { return static_cast<int>(::SendMessageW(m_hWnd, PBM_GETPOS, 0, 0)); }
    // SetWindowTheme: L"", L"" draws the bar classic (unthemed), at its position at once.
    HRESULT SetWindowTheme(const wchar_t* subAppName, const wchar_t* subIdList)
    {
        return ::SetWindowTheme(m_hWnd, subAppName, subIdList);
    }
};

// Registers the common control classes (the progress bar) once per process. The entry point
// and dialog creation call it; nothing else needs to.
void AfxInitCommonControls();
