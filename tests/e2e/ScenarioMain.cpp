// Plays a scenario file against each edition it names (docs/testing.md).
//
// e2e_scenarios SCENARIO.txt

#include <windows.h>

#include <cstdio>

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

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    HideConsoleWhenPicturing();
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
