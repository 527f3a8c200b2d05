// CFileDialog: the system's save-file (or open-file) dialog, texts given and returned as CP932.
#pragma once

#include <windows.h>

#include "framework/String.h"
#include "framework/Wnd.h"

class CFileDialog {
public:
    // `filter` is written "Xml Files (*.xml)|*.xml||": description and pattern pairs.
    CFileDialog(BOOL openFileDialog, const char* defExt = nullptr, const char* fileName = nullptr,
                DWORD flags = 0, const char* filter = nullptr, CWnd* parent = nullptr);

    void SetTitle(const char* title);
    void SetInitialDir(const char* folder);
    INT_PTR DoModal();  // IDOK when the user chose a file, IDCANCEL otherwise (also on failure)
    CString GetPathName() const { return m_pathName; }
    // FALSE when the chosen name has a character without a CP932 form (it reads as '?').
    BOOL IsPathNameExact() const { return m_pathNameExact; }

private:
    bool RunSystemDialog(HWND owner);

    BOOL m_openFileDialog;
    CString m_defExt, m_fileName, m_filter, m_title, m_initialDir, m_pathName;
    DWORD m_flags;
    BOOL m_pathNameExact = TRUE;
    CWnd* m_pParentWnd;
};
