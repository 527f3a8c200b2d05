// The host's side of a run: starting the program as the host does, the host window's state,
// the messages posted to it, the program's exit status and the host calls it made.
#include <sstream>
#include <vector>

#include "tests/e2e/ScenarioRun.h"
#include "tests/e2e/ScenarioText.h"
#include "tests/support/TestFiles.h"

// start [LINE]
std::wstring ScenarioRun::Start(const std::wstring& args)
{
    if (started_ && !ended_) return L"the run before has not ended";
    // Another run against the same company: its checks see only what it did itself.
    if (started_) ForgetRun();
    commandLine_ = Expand(args);
    host_.Show(StartedByHost());
    started_ = process_.Start(programFolder_ + L"\\" + edition_, commandLine_, company_.DataFolder(), company_.LogPath());
    return started_ ? L"" : L"could not start " + edition_;
}

// The command line names the host window.
bool ScenarioRun::StartedByHost() const
{
    return NumberField(commandLine_, 0) == host_.HandleNumber();
}

void ScenarioRun::ForgetRun()
{
    host_.Forget();
    DeleteFileW(company_.LogPath().c_str());
    ended_ = false;
    secondStarted_ = false;
    exitCode_ = 0;
    current_ = nullptr;
    captionsSeen_.clear();
    mostWindowsAtOnce_ = 0;
    closing_.clear();
}

// start second LINE: the same program started again while the run goes on; not waited for.
std::wstring ScenarioRun::StartSecond(const std::wstring& args)
{
    if (!started_ || ended_) return L"a second start comes while the run goes on";
    if (secondStarted_) return L"there is a second start already";
    secondStarted_ = second_.Start(programFolder_ + L"\\" + edition_, Expand(args), company_.DataFolder(),
                                   company_.LogPath());
    return secondStarted_ ? L"" : L"could not start " + edition_ + L" again";
}

// second ends: the second start ends, with exit status 0, while the run goes on.
std::wstring ScenarioRun::SecondEnds(const std::wstring&)
{
    if (!secondStarted_) return L"there is no second start";
    DWORD status = 0;
    if (!second_.WaitForExit(kStepTimeoutMs, &status)) return L"the second start did not end";
    return status == 0 ? L"" : L"exit status " + std::to_wstring(status);
}

std::wstring ScenarioRun::HostDisabledNow(const std::wstring&)
{
    return host_.IsEnabled() ? L"the host window is enabled" : L"";
}

std::wstring ScenarioRun::Ends(const std::wstring&)
{
    return exitCode_ == 0 ? L"" : L"exit status " + std::to_wstring(exitCode_);
}

// posted W L: exactly one message arrived, the one the command line names, with W and L.
// posted W L, W L: exactly these messages arrived, in this order (one start each).
std::wstring ScenarioRun::PostedOnce(const std::wstring& args)
{
    std::vector<std::pair<long long, long long>> expected;
    std::wistringstream pairs(args);
    for (std::wstring pair; std::getline(pairs, pair, L',');) {
        std::wistringstream numbers(pair);
        long long wParam = 0, lParam = 0;
        if (!(numbers >> wParam >> lParam)) return L"posted needs wParam and lParam, for each message";
        expected.emplace_back(wParam, lParam);
    }
    const std::vector<HostWindow::Posted>& posted = host_.PostedMessages();
    if (posted.size() != expected.size()) return std::to_wstring(posted.size()) + L" messages arrived";
    for (size_t i = 0; i < posted.size(); ++i) {
        const HostWindow::Posted& message = posted[i];
        if (message.message != static_cast<UINT>(NumberField(commandLine_, 1))) {
            return L"message " + std::to_wstring(message.message) + L" arrived";
        }
        // Both are read as the host reads them: signed numbers as wide as a pointer (a wParam of
        // -2 is 0xFFFFFFFE in a 32-bit process, not 4294967294).
        const auto w = static_cast<long long>(static_cast<INT_PTR>(message.wParam));
        const auto l = static_cast<long long>(message.lParam);
        if (w != expected[i].first || l != expected[i].second) {
            return L"message " + std::to_wstring(i + 1) + L" arrived with " + std::to_wstring(w) + L" " +
                   std::to_wstring(l);
        }
    }
    return L"";
}

std::wstring ScenarioRun::NothingPosted(const std::wstring&)
{
    const size_t count = host_.PostedMessages().size();
    return count == 0 ? L"" : std::to_wstring(count) + L" messages arrived";
}

// Disabled once and enabled again; at the end the run brings the host window to the
// foreground and enables it, then posts (Wine delivers the activation after the enabling,
// whatever the order of calls).
std::wstring ScenarioRun::HostWindowWasDisabled(const std::wstring&)
{
    if (!host_.IsEnabled()) return L"the host window was left disabled";
    if (host_.EnableChanges() != std::vector<bool>{false, true}) return L"it was not disabled once and enabled again";
    const std::wstring& events = host_.Events();
    const size_t posted = events.rfind(L'p');  // the run's own message comes last
    if (posted == std::wstring::npos) return L"";
    const size_t activation = events.find_last_of(L"ai", posted);
    if (activation == std::wstring::npos || events[activation] != L'a') {
        return L"it was not in the foreground when the message was posted (events " + events + L")";
    }
    return events.find(L'e') < posted ? L"" : L"a message was posted before it was enabled";
}

std::wstring ScenarioRun::HostWindowUntouched(const std::wstring&)
{
    if (!host_.IsEnabled()) return L"the host window was left disabled";
    return host_.EnableChanges().empty() ? L"" : L"the host window was disabled";
}

// A line of the host call log starts with `start`.
bool ScenarioRun::HostCalled(const std::wstring& start) const
{
    const std::string bytes = Utf8FromWide(start);
    for (const std::string& line : company_.CallLines()) {
        if (line.compare(0, bytes.size(), bytes) == 0) return true;
    }
    return false;
}

std::wstring ScenarioRun::Called(const std::wstring& args)
{
    return HostCalled(Expand(args)) ? L"" : L"no such host call";
}

std::wstring ScenarioRun::NotCalled(const std::wstring& args)
{
    return HostCalled(Expand(args)) ? L"the host was called so" : L"";
}

namespace {

// A call as a scenario names it: the whole line, or its start up to a blank.
bool CallMatches(const std::string& line, const std::string& call)
{
    return line.compare(0, call.size(), call) == 0 && (line.size() == call.size() || line[call.size()] == ' ');
}

// The lines match the calls in order, where "..." stands for any lines: matched as a pattern
// with wildcards, going back to the last "..." when a call does not match.
bool CallsMatch(const std::vector<std::string>& lines, const std::vector<std::string>& calls)
{
    const size_t none = calls.size();
    size_t line = 0, call = 0, wildcard = none, resumeLine = 0;
    while (line < lines.size()) {
        if (call < calls.size() && calls[call] == "...") {
            wildcard = call++;
            resumeLine = line;
        } else if (call < calls.size() && CallMatches(lines[line], calls[call])) {
            ++line;
            ++call;
        } else if (wildcard != none) {
            call = wildcard + 1;
            line = ++resumeLine;
        } else {
            return false;
        }
    }
    while (call < calls.size() && calls[call] == "...") ++call;
    return call == calls.size();
}

}  // namespace

// calls CALL, CALL...: the host call log, line by line.
std::wstring ScenarioRun::CallsInOrder(const std::wstring& args)
{
    std::vector<std::string> calls;
    std::wistringstream in(Expand(args));
    for (std::wstring call; std::getline(in, call, L',');) {
        std::vector<std::wstring> none;
        std::wstring trimmed;
        SplitWords(call, 0, none, trimmed);
        calls.push_back(Utf8FromWide(trimmed));
    }
    return CallsMatch(company_.CallLines(), calls) ? L"" : L"the host calls were not these";
}
