#pragma once
// Plays the user at another process's windows: finds its dialogs and message boxes by
// caption, reads their texts, types and clicks through window messages. Clicks are posted,
// never sent: a sent click whose handler opens a modal box would block us.

#include <windows.h>

#include <string>
#include <vector>

// Where on the screen a window can be seen: the screen for a top-level window; for a child,
// what can be seen of its parent's client area.
RECT VisibleArea(HWND window);
// The window is on screen: it and its ancestors are visible and some of it lies in its
// visible area. Wholly: all of it does.
bool IsOnScreen(HWND window);
bool IsWhollyOnScreen(HWND window);

// The dialogs (class #32770) of process `pid` that are on screen, message boxes included.
std::vector<HWND> VisibleDialogs(DWORD pid);

// A top-level dialog (class #32770) of process `pid` whose caption is `caption`, waited for
// up to `timeoutMs`; null when none appeared.
HWND WaitForDialog(DWORD pid, const std::wstring& caption, DWORD timeoutMs);

std::wstring WindowText(HWND window);
// A top-level window's caption as the window manager keeps it: read without a message, so it
// is there while the program is busy (the progress window during a slow host call).
std::wstring CaptionText(HWND window);
std::wstring ControlText(HWND dialog, int controlId);

// The text of a message box (its static text control).
std::wstring MessageBoxText(HWND box);

void SetControlText(HWND dialog, int controlId, const std::wstring& text);
void ClickButton(HWND dialog, int controlId);

// A check box clicked as a user does (it toggles); its state; whether a control takes input.
void ToggleCheckBox(HWND dialog, int controlId);
bool IsChecked(HWND dialog, int controlId);
bool IsControlEnabled(HWND dialog, int controlId);
