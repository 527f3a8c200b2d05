// Helpers shared by the framework tests.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/CodePage.h"
#include "framework/TestSeams.h"
#include "tests/support/TestFiles.h"

// Answers every message box with `answer` and keeps the calls; the real box is back after.
class ScriptedMessageBoxes {
public:
    explicit ScriptedMessageBoxes(int answer = IDOK)
    {
        SetMessageBoxResponder([this, answer](const MessageBoxCall& call) {
            calls.push_back(call);
            return answer;
        });
    }
    ~ScriptedMessageBoxes() { SetMessageBoxResponder(nullptr); }
    ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
    ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

    std::vector<MessageBoxCall> calls;
};

// Answers every save-file dialog with `answer` and keeps the calls.
class ScriptedFileDialogs {
public:
    explicit ScriptedFileDialogs(std::optional<std::string> answer)
    {
        SetFileDialogResponder([this, answer](const FileDialogCall& call) {
            calls.push_back(call);
            return answer;
        });
    }
    ~ScriptedFileDialogs() { SetFileDialogResponder(nullptr); }
    ScriptedFileDialogs(const ScriptedFileDialogs&) = delete;
    ScriptedFileDialogs& operator=(const ScriptedFileDialogs&) = delete;

    std::vector<FileDialogCall> calls;
};

// A path inside `folder` as the program holds it, in CP932; with no name, the folder with a
// trailing backslash.
inline std::string Cp932Path(const TempFolder& folder, const char* name = "")
{
    std::string path;
    Cp932FromWide(folder.Path() + L"\\", path);
    return path + name;
}
