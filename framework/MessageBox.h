// Message boxes. Every message box of the program goes through AfxShowMessageBox, which is
// where tests answer them (framework/TestSeams.h).
#pragma once

#include <windows.h>

// A message box with this owner, text, caption and style (MB_ICONEXCLAMATION | MB_OK, ...);
// returns the button pressed (IDOK, IDYES, ...). Null texts show as empty.
int AfxShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// The framework's standard message box: owned by the active window, with the application's
// title (the executable's base name) as its caption.
int AfxMessageBox(const char* text, UINT type = MB_OK);
