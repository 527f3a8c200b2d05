// Plays the user for tools/run when there is no display: starts an edition against a company
// folder, keeps the default months and tax setting, names an output file, presses Execute,
// answers the message boxes, and prints what happened and what the file holds.
//
// run_sample EXE DATA_FOLDER LOG_FILE OUTPUT_FILE

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/BridgeProcess.h"
#include "tests/e2e/WindowDriver.h"

namespace {

const wchar_t kConditionCaption[] = L"科目内訳書 - 集計条件";
const wchar_t kMessageCaption[] = L"科目内訳書";
const int kOutputPathId = 1015;
const int kExecuteId = 1002;
const DWORD kStepTimeoutMs = 20000;

void Print(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void PrintFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Print(L"  (no file)\n");
        return;
    }
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        std::fwrite(buffer, 1, read, stdout);
    }
    CloseHandle(file);
    std::fflush(stdout);
}

// Every message box the run shows is answered with its first button (OK, or Yes).
void AnswerMessageBoxes(BridgeProcess& process)
{
    DWORD exitCode = 0;
    while (!process.WaitForExit(0, &exitCode)) {
        HWND box = WaitForDialog(process.Id(), kMessageCaption, 200);
        if (box == nullptr) continue;
        Print(L"Message: " + MessageBoxText(box) + L"\n");
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
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
        Print(L"Condition dialog: company \"" + ControlText(dialog, 1006) + L"\", period \"" +
              ControlText(dialog, 1008) + L"\", months " + ControlText(dialog, 1010) + L" to " +
              ControlText(dialog, 1000) + L"\n");
        SetControlText(dialog, kOutputPathId, outputFile);
        ClickButton(dialog, kExecuteId);
    } else {
        Print(L"The condition dialog did not appear.\n");
    }
    AnswerMessageBoxes(process);

    DWORD exitCode = 0;
    process.WaitForExit(kStepTimeoutMs, &exitCode);
    Print(L"Exit status: " + std::to_wstring(exitCode) + L"\n");
    Print(L"Host calls (" + logFile + L"):\n");
    PrintFile(logFile);
    Print(L"Output file " + outputFile + L":\n");
    PrintFile(outputFile);
    return 0;
}
