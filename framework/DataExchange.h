// Dialog data exchange: DoDataExchange lists, control by control, how a dialog's members and
// its controls correspond; UpdateData runs it in one direction or the other.
#pragma once

#include "framework/String.h"
#include "framework/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate;  // TRUE: controls -> members; FALSE: members -> controls
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;  // the control of the last DDX_Text, for the DDV_ that follows it
};

// Binds `control` to the dialog's control `id`: the object takes the window handle until
// the dialog's window is destroyed, when it is cleared again.
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);
// The text of control `id` and `value`, converted between UTF-16 and CP932.
void DDX_Text(CDataExchange* exchange, int id, CString& value);
// For the control of the preceding DDX_Text: on load, limits it to `maxChars` characters, the
// limit of what the user types. On save `value` is taken whole: a longer text is one the
// program put there itself, and cutting it would change its meaning ("110" is no "11"); the
// dialog's own checks judge it.
void DDV_MaxChars(CDataExchange* exchange, CString& value, int maxChars);
