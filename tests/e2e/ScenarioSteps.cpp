// The step table: every form a scenario line may take, one row each. The player finds a
// step's row by its first words; e2e_scenarios --steps prints the table.
#include <algorithm>
#include <sstream>

#include "tests/e2e/ScenarioRun.h"

using When = StepForm::When;

const std::vector<StepForm> ScenarioRun::kSteps = {
    // Set-up: before the start, or between runs.
    {L"edition", L"NAME", When::setup, nullptr,
     L"run against this edition instead of QuorlinA.exe and its UTF-8 copy (may be repeated; read with the file)"},
    {L"company", L"SECTION KEY VALUE", When::setup, &ScenarioRun::Company,
     L"set KEY in [SECTION] of the company's host.ini (quote a section with blanks: \"data 3\")"},
    {L"definitions none", L"", When::setup, &ScenarioRun::DefinitionsNone, L"no TavrinDef.ini beside the program"},
    {L"definitions", L"TEXT", When::setup, &ScenarioRun::Definitions, L"TavrinDef.ini holds TEXT (as code page 932)"},
    {L"put", L"PATH TEXT", When::setup, &ScenarioRun::Put,
     L"a file PATH holding TEXT (as code page 932) is there before the run"},
    {L"read-only", L"PATH", When::setup, &ScenarioRun::ReadOnly, L"the file PATH has the read-only attribute"},
    {L"books", L"NAME", When::setup, &ScenarioRun::Books,
     L"the company's data folder holds tests/e2e/companies/NAME/ instead of samples/"},
    {L"host window", L"WIDTHxHEIGHT [at X,Y]", When::setup, &ScenarioRun::PlaceHost,
     L"the host window has this size, frame included, and is moved to X,Y"},
    {L"host window minimized", L"", When::setup, &ScenarioRun::HostMinimized,
     L"the host window is shown minimized while the run goes on"},
    {L"host window hidden", L"", When::setup, &ScenarioRun::HostHidden, L"the host window is not shown at all"},

    // The start.
    {L"start", L"[LINE]", When::start, &ScenarioRun::Start,
     L"start the program with LINE (or none), e.g. {host},32771,7,{out}\\a.xml"},
    {L"start second", L"LINE", When::during, &ScenarioRun::StartSecond,
     L"start the program again while the run goes on, not waiting for it; dialog steps find its windows too"},
    {L"second ends", L"", When::during, &ScenarioRun::SecondEnds, L"the second start ends, with exit status 0"},

    // The program's windows, while the run goes on.
    {L"dialog", L"CAPTION", When::during, &ScenarioRun::Dialog,
     L"wait for a window of the program with this caption (a final * matches any that starts so); the next steps act on it"},
    {L"text", L"CONTROL TEXT", When::during, &ScenarioRun::Text, L"the control shows TEXT"},
    {L"message", L"TEXT", When::during, &ScenarioRun::Message, L"the message box shows TEXT"},
    {L"set", L"CONTROL TEXT", When::during, &ScenarioRun::Set, L"type TEXT into the control"},
    {L"click", L"CONTROL", When::during, &ScenarioRun::Click, L"press the button (posted, as a user's click)"},
    {L"toggle", L"CONTROL", When::during, &ScenarioRun::Toggle, L"click the check box (it toggles)"},
    {L"checked", L"CONTROL", When::during, &ScenarioRun::Checked, L"the check box is checked"},
    {L"unchecked", L"CONTROL", When::during, &ScenarioRun::Unchecked, L"the check box is not checked"},
    {L"enabled", L"CONTROL", When::during, &ScenarioRun::Enabled, L"the control takes input"},
    {L"disabled", L"CONTROL", When::during, &ScenarioRun::Disabled, L"the control does not take input"},
    {L"owner host", L"", When::during, &ScenarioRun::OwnerHost, L"the window is owned by the host window"},
    {L"owner", L"CAPTION", When::during, &ScenarioRun::OwnerWindow,
     L"the window is owned by a window of the program with this caption, which is on screen"},
    {L"parent host", L"", When::during, &ScenarioRun::ParentHost, L"the window is a child of the host window"},
    {L"in front", L"", When::during, &ScenarioRun::InFront,
     L"a top-level window is above the host window; a child of the host window above the host's other children"},
    {L"wholly on screen", L"", When::during, &ScenarioRun::WhollyOnScreen, L"all of the window can be seen"},
    {L"post", L"CONTROL to CAPTION", When::during, &ScenarioRun::PostTo,
     L"post a click of the control (close: WM_CLOSE) to the program's window of this caption; it has half a second"},
    {L"post quit", L"", When::during, &ScenarioRun::PostQuit, L"post WM_QUIT to the thread of the current window"},
    {L"answers", L"within N ms for S s", When::during, &ScenarioRun::Answers,
     L"for S s the window stays and answers the host thread's WM_NULL within N ms, and is never counted as hung"},
    {L"another program keeps the foreground for", L"S s", When::during, &ScenarioRun::AnotherProgramInFront,
     L"another program shows a window and takes the foreground, as a user switching to it does; it keeps it for S s"},
    {L"picture", L"NAME", When::during, &ScenarioRun::Picture,
     L"only under tools/screenshot: save the program's windows (and a host window that started it) as NAME"},

    // The host's side, while the run goes on.
    {L"host window is disabled", L"", When::during, &ScenarioRun::HostDisabledNow,
     L"the host window is disabled now, while the run goes on"},
    {L"written", L"PATH", When::during, &ScenarioRun::Written, L"the file PATH is there already, while the run goes on"},

    // After the run: each waits for the program to end.
    {L"ends", L"", When::after, &ScenarioRun::Ends, L"the program ends, with exit status 0"},
    {L"posted", L"W L[, W L...]", When::after, &ScenarioRun::PostedOnce,
     L"the host window received exactly these messages, the one the command line names, with wParam W and lParam L"},
    {L"nothing posted", L"", When::after, &ScenarioRun::NothingPosted, L"the host window received no message"},
    {L"host window was disabled", L"", When::after, &ScenarioRun::HostWindowWasDisabled,
     L"disabled once, enabled again and enabled now; the last message came after it was enabled and in front"},
    {L"host window untouched", L"", When::after, &ScenarioRun::HostWindowUntouched, L"the host window was never disabled"},
    {L"at most", L"N windows at once", When::after, &ScenarioRun::WindowsAtOnce,
     L"never were more than N of the program's windows on screen together"},
    {L"never shown", L"CAPTION", When::after, &ScenarioRun::NeverShown,
     L"the program never showed a window with this caption (* as for dialog)"},
    {L"called", L"TEXT", When::after, &ScenarioRun::Called, L"a line of the host call log starts with TEXT"},
    {L"not called", L"TEXT", When::after, &ScenarioRun::NotCalled, L"no line of the host call log starts with TEXT"},
    {L"calls", L"CALL, CALL...", When::after, &ScenarioRun::CallsInOrder,
     L"the host call log is these lines in order: a CALL is a line's start up to a blank or its end; ... any lines"},
    {L"file", L"PATH equals NAME|holds TEXT|contains TEXT", When::after, &ScenarioRun::Files,
     L"the file holds exactly the bytes of tests/e2e/expected/NAME, exactly TEXT, or TEXT somewhere (TEXT as code page 932)"},
    {L"folder", L"PATH holds [NAME...]", When::after, &ScenarioRun::FolderHolds,
     L"the folder holds exactly these names (none: it is empty)"},
    {L"no file", L"PATH", When::after, &ScenarioRun::NoFile, L"nothing of that name exists"},
};

const std::vector<StepForm>& ScenarioRun::Steps()
{
    return kSteps;
}

namespace {

std::vector<std::wstring> Words(const std::wstring& text)
{
    std::vector<std::wstring> words;
    std::wistringstream in(text);
    for (std::wstring word; in >> word;) words.push_back(word);
    return words;
}

std::wstring StepText(const ScenarioStep& step)
{
    return step.rest.empty() ? step.verb : step.verb + L" " + step.rest;
}

// The text after the first `count` words, its leading blanks skipped.
std::wstring AfterWords(const std::wstring& text, size_t count)
{
    size_t pos = 0;
    for (size_t word = 0; word <= count; ++word) {
        while (pos < text.size() && (text[pos] == L' ' || text[pos] == L'\t')) ++pos;
        if (word == count) break;
        while (pos < text.size() && text[pos] != L' ' && text[pos] != L'\t') ++pos;
    }
    return text.substr(pos);
}

// How many characters must change to turn one text into the other.
size_t EditDistance(const std::wstring& a, const std::wstring& b)
{
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j < row.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

const StepForm* FindStepForm(const ScenarioStep& step, std::wstring& args)
{
    const std::wstring text = StepText(step);
    const std::vector<std::wstring> written = Words(text);
    const StepForm* found = nullptr;
    size_t foundWords = 0;
    for (const StepForm& form : ScenarioRun::Steps()) {
        const std::vector<std::wstring> words = Words(form.words);
        const bool named = written.size() >= words.size() && std::equal(words.begin(), words.end(), written.begin());
        const bool fits = *form.takes != L'\0' || written.size() == words.size();
        if (named && fits && words.size() > foundWords) {
            found = &form;
            foundWords = words.size();
        }
    }
    if (found != nullptr) args = AfterWords(text, foundWords);
    return found;
}

const StepForm& ClosestStepForm(const ScenarioStep& step)
{
    const std::vector<std::wstring> written = Words(StepText(step));
    const StepForm* closest = &ScenarioRun::Steps().front();
    size_t closestDistance = SIZE_MAX;
    for (const StepForm& form : ScenarioRun::Steps()) {
        const size_t count = std::min(Words(form.words).size(), written.size());
        std::wstring start;
        for (size_t i = 0; i < count; ++i) start += (i == 0 ? L"" : L" ") + written[i];
        const size_t distance = EditDistance(start, form.words);
        if (distance < closestDistance) {
            closest = &form;
            closestDistance = distance;
        }
    }
    return *closest;
}

std::wstring StepFormText(const StepForm& form)
{
    return *form.takes == L'\0' ? std::wstring(form.words) : std::wstring(form.words) + L" " + form.takes;
}
