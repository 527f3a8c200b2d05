// CWinApp: the application object. The program defines exactly one global object of a class
// derived from it (`theApp`); its constructor registers it, and the entry point runs it:
// InitInstance, then ExitInstance, exactly once each.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "framework/String.h"

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    // The wait cursor; calls nest, and the cursor before the first Begin comes back at the
    // last End. RestoreWaitCursor shows it again after something else changed the cursor.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    HINSTANCE m_hInstance;
    // The command line after the program's name, leading blanks skipped, as CP932; "" when none.
    const char* m_lpCmdLine;

private:
    std::string m_commandLine;
    int m_waitCursorCount = 0;
    HCURSOR m_cursorBeforeWait = nullptr;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();  // the executable's module, also when no application exists
CString AfxLoadString(UINT id);    // a string resource of the executable, as CP932; "" when missing
const char* AfxGetAppName();       // the executable's base name ("QuorlinA"), CP932

// The text after the program name in a Windows command line: a quoted name ends at the next
// quote, an unquoted one at the first blank; blanks and tabs after it are skipped.
std::wstring_view CommandLineArguments(std::wstring_view commandLine);

// What the entry point does: prepares the common controls, then runs the registered
// application (InitInstance, a message loop that ends at once as there is no main window,
// ExitInstance). Exceptions never leave it; the process exit status is always 0.
int AfxWinMain(HINSTANCE instance);
