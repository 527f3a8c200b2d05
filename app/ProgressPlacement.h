#pragma once
// Where the progress window goes. Alone, the program shows it centred on the screen. Started
// by the host, the host window is disabled for the whole run: the progress window becomes a
// child of it, inside what the user sees of its client area (centred there along each side
// it fits, else at that side's start) and above the host's other children.
//
// Windows parents a window only to one of the same DPI awareness, and the host, an older
// product, is not aware as this program is: the window is made with the host window's own
// awareness. Where Windows refuses the parenting all the same, the window stays a top-level
// window owned by the host, placed the same way over the host window and so in front of it.

#include <windows.h>

class CProgressDlg;
class CWnd;

// Creates the window from its template and shows it; FALSE when it could not be created.
BOOL ShowProgressWindow(CProgressDlg& progressDlg, CWnd* hostWnd);

// Puts `window`, a child of `host` or a top-level window it owns, inside what the user sees of
// the host's client area, above its siblings.
void PlaceOverHost(HWND window, HWND host);
