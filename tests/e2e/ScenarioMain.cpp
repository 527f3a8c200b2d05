// Plays a scenario file against each edition it names (docs/testing.md).
//
// e2e_scenarios SCENARIO.txt
// e2e_scenarios --another-program (started by a scenario: another program the user works with)

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/Scenario.h"
#include "tests/e2e/ScenarioRun.h"
#include "tests/support/TestFiles.h"

namespace {

// Under tools/screenshot the player is started on a desktop of its own, where it gets a console
// window (on Windows as on Wine 10) that would cover the windows pictured: it is hidden.
void HideConsoleWhenPicturing()
{
    HWND console = GetConsoleWindow();
    if (console != nullptr && GetEnvironmentVariableW(L"BRIDGE_PICTURE_DIR", nullptr, 0) != 0)
        ShowWindow(console, SW_HIDE);
}

// Started with --another-program: the other program a user switches to during a run. Its one
// window takes the foreground and stays until the thread is told to quit.
int AnotherProgram()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"AnotherProgram";
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowExW(0, L"AnotherProgram", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        660, 420, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) return 1;
    SetForegroundWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    DestroyWindow(window);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    HideConsoleWhenPicturing();
    if (argc == 2 && std::wstring(argv[1]) == L"--another-program") return AnotherProgram();
    if (argc != 2) {
        std::printf("usage: e2e_scenarios SCENARIO.txt\n");
        return 2;
    }
    Scenario scenario;
    std::wstring error;
    if (!ReadScenario(argv[1], scenario, error)) {
        std::printf("%s\n", Utf8FromWide(error).c_str());
        return 2;
    }
    int failed = 0;
    for (const std::wstring& edition : scenario.editions) {
        ScenarioRun run(edition);
        const bool passed = run.Play(scenario);
        std::printf("%s %s [%s]\n", passed ? "passed" : "FAILED", Utf8FromWide(scenario.name).c_str(),
                    Utf8FromWide(edition).c_str());
        if (!passed) ++failed;
    }
    return failed == 0 ? 0 : 1;
}
