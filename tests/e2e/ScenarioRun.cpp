#include "tests/e2e/ScenarioRun.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "tests/e2e/ScenarioText.h"
#include "tests/e2e/WindowDriver.h"
#include "tests/support/TestFiles.h"

namespace {

std::wstring BuildBin()
{
    return TestEnvironmentFolder(L"BRIDGE_BUILD_DIR") + L"\\bin";
}

// The names of res/resource.h, the standard button ids and the save-file dialog's file name
// box (cmb13, in older dialogs edt1), so scenarios name controls as the program's code does.
std::map<std::wstring, int> ReadControlIds()
{
    std::map<std::wstring, int> ids = {{L"IDOK", IDOK},   {L"IDCANCEL", IDCANCEL}, {L"IDYES", IDYES},
                                       {L"IDNO", IDNO},   {L"message", 0xFFFF},    {L"cmb13", 0x47C},
                                       {L"edt1", 0x480}};
    std::istringstream in(ReadFileBytes(TestEnvironmentFolder(L"BRIDGE_SOURCE_DIR") + L"\\res\\resource.h"));
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string define, name;
        int value = 0;
        if (words >> define >> name >> value && define == "#define") ids[WideFromUtf8(name)] = value;
    }
    return ids;
}

}  // namespace

ScenarioRun::ScenarioRun(const std::wstring& edition)
    : edition_(edition), programFolder_(company_.Root() + L"\\program"), controlIds_(ReadControlIds())
{
    CreateDirectoryW(programFolder_.c_str(), nullptr);
    CopyFileW((BuildBin() + L"\\" + edition).c_str(), (programFolder_ + L"\\" + edition).c_str(), FALSE);
    CopyFileW((BuildBin() + L"\\TavrinDef.ini").c_str(), (programFolder_ + L"\\TavrinDef.ini").c_str(), FALSE);
}

ScenarioRun::~ScenarioRun()
{
    // The temporary folder goes with everything in it, the files made read-only too.
    for (const std::wstring& path : readOnly_) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

bool ScenarioRun::Play(const Scenario& scenario)
{
    scenarioName_ = scenario.name.substr(0, scenario.name.find_last_of(L'.'));
    for (const ScenarioStep& step : scenario.steps) {
        const std::wstring failure = Do(step);
        if (failure.empty()) continue;
        std::wstring report = scenario.name + L":" + std::to_wstring(step.line) + L": [" + edition_ + L"] " +
                              step.verb + L" " + step.rest + L"\n    " + failure + L"\n" + Diagnostics();
        const std::string utf8 = Utf8FromWide(report);
        std::fwrite(utf8.data(), 1, utf8.size(), stdout);
        return false;
    }
    if (started_ && !WaitForEnd(kStepTimeoutMs)) {
        std::printf("%s [%s]: the run did not end\n", Utf8FromWide(scenario.name).c_str(), Utf8FromWide(edition_).c_str());
        return false;
    }
    return true;
}

// The step's row of the step table, played once the run is where the row says it may come.
std::wstring ScenarioRun::Do(const ScenarioStep& step)
{
    std::wstring args;
    const StepForm* form = FindStepForm(step, args);
    if (form == nullptr) {
        return L"no step is written so; the closest form is \"" + StepFormText(ClosestStepForm(step)) + L"\"";
    }
    if (form->play == nullptr) return L"";  // read with the scenario file
    switch (form->when) {
    case StepForm::When::setup:
        if (started_ && !ended_) return L"setup steps come before start, or after the run has ended";
        break;
    case StepForm::When::start:
        break;
    case StepForm::When::during:
        if (!started_) return L"the run has not been started";
        break;
    case StepForm::When::after:
        if (!started_) return L"the run has not been started";
        if (!ended_ && !WaitForEnd(kStepTimeoutMs)) return L"the run did not end";
        break;
    }
    return (this->*form->play)(args);
}

std::vector<HWND> ScenarioRun::ProgramDialogs() const
{
    std::vector<HWND> dialogs = VisibleDialogs(process_.Id());
    if (secondStarted_) {
        const std::vector<HWND> second = VisibleDialogs(second_.Id());
        dialogs.insert(dialogs.end(), second.begin(), second.end());
    }
    return dialogs;
}

std::wstring ScenarioRun::Expand(const std::wstring& text) const
{
    const std::map<std::wstring, std::wstring> names = {
        {L"host", std::to_wstring(host_.HandleNumber())}, {L"out", company_.OutputFolder()},
        {L"company", company_.DataFolder()},              {L"program", programFolder_}};
    std::wstring out;
    for (size_t pos = 0; pos < text.size();) {
        const size_t close = text[pos] == L'{' ? text.find(L'}', pos) : std::wstring::npos;
        if (close == std::wstring::npos) {
            out += text[pos++];
            continue;
        }
        const std::wstring name = text.substr(pos + 1, close - pos - 1);
        const size_t star = name.find(L'*');
        if (auto found = names.find(name); found != names.end()) {
            out += found->second;
        } else if (star != std::wstring::npos && star + 2 == name.size()) {
            out += std::wstring(std::wcstoul(name.c_str(), nullptr, 10), name.back());
        } else {
            out += text.substr(pos, close - pos + 1);
        }
        pos = close + 1;
    }
    return out;
}

int ScenarioRun::ControlId(const std::wstring& name) const
{
    const auto found = controlIds_.find(name);
    return found != controlIds_.end() ? found->second : 0;
}

void ScenarioRun::Poll()
{
    PumpMessagesFor(kPollMs);
    if (ended_) return;
    const std::vector<HWND> shown = ProgramDialogs();
    for (HWND dialog : shown) captionsSeen_.insert(CaptionText(dialog));
    mostWindowsAtOnce_ = std::max(mostWindowsAtOnce_, shown.size());
}

bool ScenarioRun::WaitForEnd(DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!ended_) {
        ended_ = process_.WaitForExit(0, &exitCode_);
        if (ended_) break;
        if (GetTickCount64() >= deadline) return false;
        Poll();
    }
    PumpMessagesFor(kPollMs);  // anything the run posted on its way out
    return true;
}

// What the run showed and asked of the host, for a failure's report.
std::wstring ScenarioRun::Diagnostics()
{
    std::wstring out = L"    windows shown:";
    for (const std::wstring& caption : captionsSeen_) out += L" " + Shown(caption);
    if (!ended_) {
        for (HWND dialog : VisibleDialogs(process_.Id())) {
            out += L"\n    now showing " + Shown(CaptionText(dialog));
            const std::wstring boxText = ControlText(dialog, 0xFFFF);
            if (!boxText.empty()) out += L": " + Shown(boxText);
        }
    }
    out += L"\n    host calls:\n";
    for (const std::string& line : company_.CallLines()) out += L"      " + WideFromUtf8(line) + L"\n";
    return out;
}
