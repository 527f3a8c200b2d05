// Plays a scenario file against each edition it names (docs/testing.md), or prints the steps
// a scenario may take.
//
// e2e_scenarios SCENARIO.txt
// e2e_scenarios --steps
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

// The step table: each form and what it checks or does, under when it may come.
void PrintSteps()
{
    const wchar_t* const headings[] = {L"Before the start, or between runs:", L"The start:", L"While the run goes on:",
                                       L"After the run (each step first waits for the program to end):"};
    const size_t column = 34;
    int when = -1;
    std::wstring out;
    for (const StepForm& form : ScenarioRun::Steps()) {
        if (static_cast<int>(form.when) != when) {
            when = static_cast<int>(form.when);
            out += std::wstring(out.empty() ? L"" : L"\n") + headings[when] + L"\n";
        }
        const std::wstring text = StepFormText(form);
        out += L"  " + text + (text.size() < column ? std::wstring(column - text.size(), L' ') : L"\n  " + std::wstring(column, L' ')) +
               L"  " + form.meaning + L"\n";
    }
    const std::string utf8 = Utf8FromWide(out);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
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
    if (argc == 2 && std::wstring(argv[1]) == L"--steps") {
        PrintSteps();
        return 0;
    }
    if (argc == 2 && std::wstring(argv[1]) == L"--another-program") return AnotherProgram();
    if (argc != 2) {
        std::printf("usage: e2e_scenarios SCENARIO.txt, or e2e_scenarios --steps\n");
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
