#pragma once
// Plays one scenario against one edition: a fresh copy of the sample company, the program
// copied into a folder of its own (so that each run has its own definitions file beside it),
// a real host window, and the steps in order. Stops at the first step that fails.

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/BridgeProcess.h"
#include "tests/e2e/CompanyFolder.h"
#include "tests/e2e/HostWindow.h"
#include "tests/e2e/Scenario.h"

class ScenarioRun {
public:
    explicit ScenarioRun(const std::wstring& edition);
    ~ScenarioRun();
    ScenarioRun(const ScenarioRun&) = delete;
    ScenarioRun& operator=(const ScenarioRun&) = delete;

    // Prints a line per failure; true when every step passed and the run ended.
    bool Play(const Scenario& scenario);

private:
    // Each returns "" when the step passed, else what went wrong.
    std::wstring Do(const ScenarioStep& step);
    std::wstring Setup(const std::wstring& verb, const std::wstring& rest);
    std::wstring PlaceHost(const std::wstring& rest);
    std::wstring Placement(const std::wstring& verb, const std::wstring& rest) const;
    std::wstring Start(const std::wstring& commandLine);
    bool StartedByHost() const;
    void ForgetRun();
    std::wstring Window(const std::wstring& verb, const std::wstring& rest);
    std::wstring PostTo(const std::wstring& rest);
    std::wstring WindowsAtOnce(const std::wstring& rest);
    std::wstring Outcome(const std::wstring& verb, const std::wstring& rest);
    std::wstring NeverShown(const std::wstring& rest) const;
    std::wstring PostedOnce(const std::wstring& rest) const;
    std::wstring HostWindowState(const std::wstring& rest) const;
    std::wstring HostCalls(const std::wstring& verb, std::wstring text) const;
    std::wstring Files(const std::wstring& verb, const std::wstring& rest);
    std::wstring FolderHolds(const std::wstring& rest) const;
    void KeepProducedXml(const std::wstring& path);
    std::wstring Picture(const std::wstring& name);
    std::wstring Answers(const std::wstring& rest);
    std::wstring AnotherProgramInFront(const std::wstring& rest);
    // A second start for the same host window while the run goes on, and its end.
    std::wstring StartSecond(const std::wstring& commandLine);
    std::wstring SecondEnds(const std::wstring& rest);
    std::wstring PostQuit(const std::wstring& rest) const;
    // The dialogs of the run and of a second start, if there is one.
    std::vector<HWND> ProgramDialogs() const;
    RECT PictureArea() const;

    // {host}, {out}, {company}, {program} and {N*c} (N copies of c) replaced.
    std::wstring Expand(const std::wstring& text) const;
    int ControlId(const std::wstring& name) const;
    // Handles messages and notes the captions shown, for about one poll interval.
    void Poll();
    bool WaitForEnd(DWORD timeoutMs);
    std::wstring Diagnostics();

    std::wstring edition_;
    CompanyFolder company_;
    HostWindow host_;
    BridgeProcess process_;
    BridgeProcess second_;
    bool secondStarted_ = false;
    std::wstring programFolder_;
    std::wstring commandLine_;
    bool started_ = false;
    bool ended_ = false;
    DWORD exitCode_ = 0;
    HWND current_ = nullptr;
    std::set<std::wstring> captionsSeen_;
    size_t mostWindowsAtOnce_ = 0;  // of the program's windows on screen together
    std::set<HWND> closing_;  // windows closed by a click, perhaps still on screen
    std::map<std::wstring, int> controlIds_;
    std::wstring scenarioName_;
    int keptXml_ = 0;
    std::vector<std::wstring> readOnly_;  // files a setup step made read-only
};
