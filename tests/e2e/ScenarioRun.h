#pragma once
// Plays one scenario against one edition: a fresh copy of the sample company, the program
// copied into a folder of its own (so that each run has its own definitions file beside it),
// a real host window, and the steps in order. Stops at the first step that fails.
//
// Every step form is one row of the step table (ScenarioSteps.cpp): its words, what follows
// them, when it may come, the function that plays it and what it checks or does. Adding a
// step is adding a row and its function. The functions are grouped by what they act on:
// ScenarioSetup.cpp, ScenarioWindows.cpp, ScenarioHost.cpp, ScenarioFiles.cpp and
// ScenarioPictures.cpp; ScenarioText.h holds what they share.

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/BridgeProcess.h"
#include "tests/e2e/CompanyFolder.h"
#include "tests/e2e/HostWindow.h"
#include "tests/e2e/Scenario.h"

class ScenarioRun;

struct StepForm {
    // When a step may come: set-up steps before the start or after a run has ended; the
    // start at any time; the others once the run has started, and "after" ones wait for its end.
    enum class When { setup, start, during, after };

    const wchar_t* words;  // the fixed words that name the step
    const wchar_t* takes;  // what follows them ("" when nothing may)
    When when;
    // Returns "" when the step passed, else what went wrong; gets the text after the words.
    std::wstring (ScenarioRun::*play)(const std::wstring& args);
    const wchar_t* meaning;  // one line: what it checks or does
};

// The row of the step table `step` is written in (the one naming the most of its first words),
// with the text after those words in `args`; null when none is.
const StepForm* FindStepForm(const ScenarioStep& step, std::wstring& args);
// The form a step that no row names comes closest to, by its first words.
const StepForm& ClosestStepForm(const ScenarioStep& step);
// A form as a scenario writes it: "click CONTROL".
std::wstring StepFormText(const StepForm& form);

class ScenarioRun {
public:
    explicit ScenarioRun(const std::wstring& edition);
    ~ScenarioRun();
    ScenarioRun(const ScenarioRun&) = delete;
    ScenarioRun& operator=(const ScenarioRun&) = delete;

    // Prints a line per failure; true when every step passed and the run ended.
    bool Play(const Scenario& scenario);

    // The step table, in the order e2e_scenarios --steps prints it.
    static const std::vector<StepForm>& Steps();

private:
    static const std::vector<StepForm> kSteps;
    static constexpr DWORD kStepTimeoutMs = 20000;
    static constexpr DWORD kPollMs = 20;

    std::wstring Do(const ScenarioStep& step);

    // Set-up (ScenarioSetup.cpp).
    std::wstring Company(const std::wstring& args);
    std::wstring Definitions(const std::wstring& args);
    std::wstring DefinitionsNone(const std::wstring& args);
    std::wstring Put(const std::wstring& args);
    std::wstring ReadOnly(const std::wstring& args);
    std::wstring Books(const std::wstring& args);
    std::wstring PlaceHost(const std::wstring& args);
    std::wstring HostMinimized(const std::wstring& args);
    std::wstring HostHidden(const std::wstring& args);

    // The program's windows (ScenarioWindows.cpp).
    std::wstring Dialog(const std::wstring& args);
    std::wstring Text(const std::wstring& args);
    std::wstring Message(const std::wstring& args);
    std::wstring Set(const std::wstring& args);
    std::wstring Click(const std::wstring& args);
    std::wstring Toggle(const std::wstring& args);
    std::wstring Checked(const std::wstring& args);
    std::wstring Unchecked(const std::wstring& args);
    std::wstring Enabled(const std::wstring& args);
    std::wstring Disabled(const std::wstring& args);
    std::wstring OwnerHost(const std::wstring& args);
    std::wstring OwnerWindow(const std::wstring& args);
    std::wstring ParentHost(const std::wstring& args);
    std::wstring InFront(const std::wstring& args);
    std::wstring WhollyOnScreen(const std::wstring& args);
    std::wstring PostTo(const std::wstring& args);
    std::wstring PostQuit(const std::wstring& args);
    std::wstring Answers(const std::wstring& args);
    std::wstring AnotherProgramInFront(const std::wstring& args);
    std::wstring WindowsAtOnce(const std::wstring& args);
    std::wstring NeverShown(const std::wstring& args);
    // The current window's control named first in `args`, and the text after it.
    std::wstring ControlStep(const std::wstring& args, int& id, std::wstring& value);
    std::wstring ControlState(const std::wstring& args, bool (*state)(HWND, int), bool wanted, const wchar_t* name);

    // The host's side of the run (ScenarioHost.cpp).
    std::wstring Start(const std::wstring& args);
    std::wstring StartSecond(const std::wstring& args);
    std::wstring SecondEnds(const std::wstring& args);
    std::wstring HostDisabledNow(const std::wstring& args);
    std::wstring Ends(const std::wstring& args);
    std::wstring PostedOnce(const std::wstring& args);
    std::wstring NothingPosted(const std::wstring& args);
    std::wstring HostWindowWasDisabled(const std::wstring& args);
    std::wstring HostWindowUntouched(const std::wstring& args);
    std::wstring Called(const std::wstring& args);
    std::wstring NotCalled(const std::wstring& args);
    std::wstring CallsInOrder(const std::wstring& args);
    bool StartedByHost() const;
    void ForgetRun();
    bool HostCalled(const std::wstring& start) const;

    // Files (ScenarioFiles.cpp).
    std::wstring Files(const std::wstring& args);
    std::wstring NoFile(const std::wstring& args);
    std::wstring Written(const std::wstring& args);
    std::wstring FolderHolds(const std::wstring& args);
    void KeepProducedXml(const std::wstring& path);

    // Pictures (ScenarioPictures.cpp).
    std::wstring Picture(const std::wstring& name);
    RECT PictureArea() const;

    // The dialogs of the run and of a second start, if there is one.
    std::vector<HWND> ProgramDialogs() const;
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
