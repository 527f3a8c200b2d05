// Plays the user for tools/run when there is no display: starts an edition against a company
// folder, keeps the default months and tax setting, names an output file, presses Execute,
// answers the message boxes, and prints what happened and what the file holds.
//
// run_sample EXE DATA_FOLDER LOG_FILE OUTPUT_FILE

#include <windows.h>

#include <cstdio>
#include <string>

#include "res/resource.h"
#include "tests/e2e/BridgeProcess.h"
#include "tests/e2e/BridgeWindows.h"
#include "tests/e2e/WindowDriver.h"
#include "tests/support/TestFiles.h"

namespace {

const DWORD kStepTimeoutMs = 20000;

void Print(const std::wstring& text)
{
    const std::string utf8 = Utf8FromWide(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

// The call log is UTF-8 and goes out as it is; the statement is code page 932 and is shown
// in the terminal's UTF-8.
void PrintFile(const std::wstring& path, bool cp932 = false)
{
    bool exists = false;
    const std::string bytes = ReadFileBytes(path, &exists);
    if (!exists) {
        Print(L"  (no file)\n");
        return;
    }
    if (cp932) {
        std::wstring text(bytes.size(), L'\0');
        const int length = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                                               static_cast<int>(text.size()));
        text.resize(length > 0 ? static_cast<size_t>(length) : 0);
        Print(text);
        return;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

// Every message box the run shows is answered with its first button: Yes where it asks (an
// earlier statement is overwritten), else OK.
void AnswerMessageBoxes(BridgeProcess& process)
{
    DWORD exitCode = 0;
    while (!process.WaitForExit(0, &exitCode)) {
        HWND box = WaitForDialog(process.Id(), kMessageCaption, 200);
        if (box == nullptr) continue;
        Print(L"Message: " + MessageBoxText(box) + L"\n");
        ClickButton(box, GetDlgItem(box, IDYES) != nullptr ? IDYES : IDOK);
        Sleep(200);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 5) {
        Print(L"usage: run_sample EXE DATA_FOLDER LOG_FILE OUTPUT_FILE\n");
        return 2;
    }
    const std::wstring exe = argv[1], dataFolder = argv[2], logFile = argv[3], outputFile = argv[4];
    DeleteFileW(logFile.c_str());

    BridgeProcess process;
    if (!process.Start(exe, L"", dataFolder, logFile)) {
        Print(L"Could not start " + exe + L"\n");
        return 1;
    }
    HWND dialog = WaitForDialog(process.Id(), kConditionCaption, kStepTimeoutMs);
    if (dialog != nullptr) {
        Print(L"Condition dialog: company \"" + ControlText(dialog, IDC_COMPANY) + L"\", period \"" +
              ControlText(dialog, IDC_PERIOD) + L"\", months " + ControlText(dialog, IDC_FROM_MONTH) + L" to " +
              ControlText(dialog, IDC_TO_MONTH) + L"\n");
        SetControlText(dialog, IDC_OUTPUT_PATH, outputFile);
        ClickButton(dialog, IDC_EXECUTE);
    } else {
        Print(L"The condition dialog did not appear.\n");
    }
    AnswerMessageBoxes(process);

    DWORD exitCode = 0;
    process.WaitForExit(kStepTimeoutMs, &exitCode);
    Print(L"Exit status: " + std::to_wstring(exitCode) + L"\n");
    Print(L"Host calls (" + logFile + L"):\n");
    PrintFile(logFile);
    Print(L"Output file " + outputFile + L" (Shift_JIS, shown here in UTF-8):\n");
    PrintFile(outputFile, true);
    return 0;
}
