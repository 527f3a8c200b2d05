// Seams through which tests answer the program's message boxes and save-file dialogs, and slow
// the file layer down. With no responder set and no delay (the only state production code ever
// runs in) the real windows appear and the files take the time they take.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

struct MessageBoxCall {
    HWND owner;
    std::string text;     // CP932
    std::string caption;  // CP932
    UINT style;
};

// The responder returns the button "pressed" (IDOK, IDYES, ...). An empty function restores
// the real message box.
void SetMessageBoxResponder(std::function<int(const MessageBoxCall&)> responder);

// The responder says whether a dialog of the template it is given may be created; false makes
// the creation fail, as Windows' does when the session has no window handles left. An empty
// function restores the real creation.
void SetDialogCreationResponder(std::function<bool(UINT templateId)> responder);

struct FileDialogCall {
    HWND owner;
    std::string title, fileName, initialDir, defExt, filter;  // CP932, as the program gave them
    DWORD flags;                                               // as the program gave them
};

// The responder returns the chosen full path (CP932), or nullopt when the user cancelled.
// An empty function restores the real dialog.
void SetFileDialogResponder(std::function<std::optional<std::string>(const FileDialogCall&)> responder);

// Every CReplacementFile::Commit takes `ms` milliseconds more before its flush, as a flush to a
// slow network share does. 0 takes no time.
void SetReplacementCommitDelay(DWORD ms);
