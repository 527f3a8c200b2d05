// The dialog controls the program uses, each a window handle with the messages of its class.
// They are bound to a dialog's controls by DDX_Control and never own their windows.
#pragma once

#include "framework/Wnd.h"

class CEdit : public CWnd {
public:
    void LimitText(int maxChars);  // EM_LIMITTEXT, in UTF-16 characters; 0: no limit
    // Selects start..end (-1 as end: to the end of the text) and, unless noScroll, scrolls
    // the caret into view.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    DWORD GetSel() const;  // EM_GETSEL: start in the low word, end in the high word
    // The text as CP932; FALSE when some character has no CP932 form (it reads as '?').
    BOOL GetExactText(CString& text) const;
};

class CButton : public CWnd {
public:
    int GetCheck() const;  // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
    void SetCheck(int check);
};

class CStatic : public CWnd {};

class CProgressCtrl : public CWnd {
public:
    void SetRange(short lower, short upper);
    int SetStep(int step);      // returns the previous step
    int SetPos(int position);   // returns the previous position
    int OffsetPos(int delta);   // PBM_DELTAPOS; returns the previous position
    int GetPos() const;
    // SetWindowTheme: L"", L"" draws the bar classic (unthemed), at its position at once.
    HRESULT SetWindowTheme(const wchar_t* subAppName, const wchar_t* subIdList);
};

// Registers the common control classes (the progress bar) once per process. The entry point
// and dialog creation call it; nothing else needs to.
void AfxInitCommonControls();
