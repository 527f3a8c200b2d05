#include "tests/e2e/ScenarioRun.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <sstream>
#include <vector>

#include "tests/e2e/Picture.h"
#include "tests/e2e/WindowDriver.h"
#include "tests/support/TestFiles.h"

namespace {

// left,top-right,bottom in screen coordinates.
std::wstring RectText(const RECT& rect)
{
    return std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L"-" + std::to_wstring(rect.right) + L"," +
           std::to_wstring(rect.bottom);
}

const DWORD kStepTimeoutMs = 20000;
const DWORD kPollMs = 20;
const DWORD kSettleMs = 1000;
const DWORD kPostSettleMs = 500;
const DWORD kPaintSettleMs = 700;
const int kPictureMargin = 12;

// The progress window turns its redraw flag off for the moment it takes a new state, and
// Windows clears its visible style with it: a window seen hidden is looked at again.
bool WhollyOnScreenWithin(HWND window, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!IsWhollyOnScreen(window)) {
        if (!IsWindow(window) || GetTickCount64() >= deadline) return false;
        PumpMessagesFor(kPollMs);
    }
    return true;
}

std::wstring BuildBin()
{
    return TestEnvironmentFolder(L"BRIDGE_BUILD_DIR") + L"\\bin";
}

std::string Cp932FromWideText(const std::wstring& text)
{
    const int size = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// A caption as a scenario names it: whole, or ending in '*' for any caption that starts so
// (the progress window's caption carries its percentage).
bool CaptionMatches(const std::wstring& caption, const std::wstring& pattern)
{
    if (!pattern.empty() && pattern.back() == L'*') return caption.rfind(pattern.substr(0, pattern.size() - 1), 0) == 0;
    return caption == pattern;
}

// Line breaks shown as \n, so that a failure reads like the scenario line.
std::wstring Shown(const std::wstring& text)
{
    std::wstring out = L"\"";
    for (wchar_t c : text) out += c == L'\n' ? std::wstring(L"\\n") : std::wstring(1, c);
    return out + L"\"";
}

struct ProcessWindow {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM data)
{
    auto& wanted = *reinterpret_cast<ProcessWindow*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != wanted.process || !IsWindowVisible(window)) return TRUE;
    wanted.found = window;
    return FALSE;
}

// The window of another program (the player started with --another-program), once it is up.
HWND WindowOfProcess(DWORD process, DWORD timeoutMs)
{
    ProcessWindow search{process, nullptr};
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (search.found == nullptr && GetTickCount64() < deadline) {
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) PumpMessagesFor(kPollMs);
    }
    return search.found;
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

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

long NumberField(const std::wstring& commandLine, int index)
{
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = commandLine.find(L',', start);
        if (start == std::wstring::npos) return -1;
        ++start;
    }
    return std::wcstol(commandLine.c_str() + start, nullptr, 10);
}

}  // namespace

ScenarioRun::ScenarioRun(const std::wstring& edition)
    : edition_(edition), programFolder_(company_.Root() + L"\\program"), controlIds_(ReadControlIds())
{
    CreateDirectoryW(programFolder_.c_str(), nullptr);
    CopyFileW((BuildBin() + L"\\" + edition).c_str(), (programFolder_ + L"\\" + edition).c_str(), FALSE);
    CopyFileW((BuildBin() + L"\\TavrinDef.ini").c_str(), (programFolder_ + L"\\TavrinDef.ini").c_str(), FALSE);
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

std::wstring ScenarioRun::Do(const ScenarioStep& step)
{
    const std::wstring& verb = step.verb;
    if (verb == L"company" || verb == L"definitions" || verb == L"put" || verb == L"books" || verb == L"read-only") {
        return Setup(verb, step.rest);
    }
    if (verb == L"host" && step.rest.rfind(L"window ", 0) == 0 && iswdigit(step.rest[7])) {
        return PlaceHost(step.rest.substr(7));
    }
    if (verb == L"host" && (step.rest == L"window minimized" || step.rest == L"window hidden")) {
        if (started_ && !ended_) return L"setup steps come before start, or after the run has ended";
        host_.ShowAs(step.rest == L"window hidden" ? HostWindow::Shown::hidden : HostWindow::Shown::minimized);
        return L"";
    }
    if (verb == L"start" && step.rest.rfind(L"second ", 0) == 0) return StartSecond(Expand(step.rest.substr(7)));
    if (verb == L"start") return Start(Expand(step.rest));
    if (!started_) return L"the run has not been started";
    if (verb == L"second") return SecondEnds(step.rest);
    if (verb == L"dialog" || verb == L"text" || verb == L"message" || verb == L"set" || verb == L"click" ||
        verb == L"toggle" || verb == L"checked" || verb == L"unchecked" || verb == L"enabled" || verb == L"disabled") {
        return Window(verb, step.rest);
    }
    if (verb == L"owner" || verb == L"parent" || verb == L"in" || verb == L"wholly" ||
        (verb == L"host" && step.rest == L"window is disabled")) {
        return Placement(verb, step.rest);
    }
    if (verb == L"ends" || verb == L"posted" || verb == L"nothing" || verb == L"host" || verb == L"never" ||
        verb == L"called" || verb == L"not") {
        return Outcome(verb, step.rest);
    }
    if (verb == L"file" || verb == L"no" || verb == L"folder") return Files(verb, step.rest);
    if (verb == L"picture") return Picture(step.rest);
    if (verb == L"post") return step.rest == L"quit" ? PostQuit(step.rest) : PostTo(step.rest);
    if (verb == L"at") return WindowsAtOnce(step.rest);
    if (verb == L"answers") return Answers(step.rest);
    if (verb == L"another") return AnotherProgramInFront(step.rest);
    return L"unknown step";
}

ScenarioRun::~ScenarioRun()
{
    // The temporary folder goes with everything in it, the files made read-only too.
    for (const std::wstring& path : readOnly_) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

std::wstring ScenarioRun::Setup(const std::wstring& verb, const std::wstring& rest)
{
    if (started_ && !ended_) return L"setup steps come before start, or after the run has ended";
    if (verb == L"books") {  // books NAME: the company folder holds tests/e2e/companies/NAME instead
        const std::wstring books = TestEnvironmentFolder(L"BRIDGE_SOURCE_DIR") + L"\\tests\\e2e\\companies\\" + rest;
        RemoveFolderTree(company_.DataFolder());
        return CopyFolder(books, company_.DataFolder()) ? L"" : L"cannot copy " + books;
    }
    if (verb == L"read-only") {
        const std::wstring path = Expand(rest);
        readOnly_.push_back(path);
        return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY) ? L"" : L"cannot make " + path + L" read-only";
    }
    const std::wstring definitions = programFolder_ + L"\\TavrinDef.ini";
    if (verb == L"definitions") {
        if (rest == L"none") {
            DeleteFileW(definitions.c_str());
            return L"";
        }
        std::vector<std::wstring> none;
        std::wstring text;
        SplitWords(rest, 0, none, text);
        return WriteFileBytes(definitions, Cp932FromWideText(text)) ? L"" : L"cannot write " + definitions;
    }
    std::vector<std::wstring> words;
    std::wstring value;
    if (verb == L"put") {  // put PATH TEXT: a file that is there before the run
        if (!SplitWords(Expand(rest), 1, words, value)) return L"put needs a path and a text";
        return WriteFileBytes(words[0], Cp932FromWideText(value)) ? L"" : L"cannot write " + words[0];
    }
    if (!SplitWords(rest, 2, words, value)) return L"company needs a section, a key and a value";
    company_.SetHostValue(Utf8FromWide(words[0]), Utf8FromWide(words[1]), Utf8FromWide(Expand(value)));
    return L"";
}

// host window WIDTHxHEIGHT [at X,Y]: the window's size, frame included, and its place.
std::wstring ScenarioRun::PlaceHost(const std::wstring& rest)
{
    if (started_ && !ended_) return L"setup steps come before start, or after the run has ended";
    int width = 0, height = 0, x = 0, y = 0;
    const int read = swscanf(rest.c_str(), L"%dx%d at %d,%d", &width, &height, &x, &y);
    if (read != 2 && read != 4) return L"host window WIDTHxHEIGHT, or host window WIDTHxHEIGHT at X,Y";
    host_.Place(x, y, width, height);
    return L"";
}

// Where the current window is against the host window, checked while the run goes on.
std::wstring ScenarioRun::Placement(const std::wstring& verb, const std::wstring& rest) const
{
    const HWND host = host_.Handle();
    if (verb == L"host") return host_.IsEnabled() ? L"the host window is enabled" : L"";
    if (current_ == nullptr) return L"no window: a dialog step comes first";
    if (verb == L"owner" && rest == L"host") {
        const HWND owner = GetWindow(current_, GW_OWNER);
        if (owner == host) return L"";
        return owner == nullptr ? L"it has no owner" : L"it is owned by " + Shown(CaptionText(owner));
    }
    if (verb == L"parent" && rest == L"host") {
        return GetAncestor(current_, GA_PARENT) == host ? L"" : L"it is not a child of the host window";
    }
    if (verb == L"wholly" && rest == L"on screen") {
        if (WhollyOnScreenWithin(current_, kSettleMs)) return L"";
        RECT rect = {};
        GetWindowRect(current_, &rect);
        return L"part of it cannot be seen: it is at " + RectText(rect) + L", what can be seen at " +
               RectText(VisibleArea(current_));
    }
    if (verb != L"in" || rest != L"front") return L"unknown step";
    // A child is in front when no other child of the host is above it; a top-level window
    // when it is above the host window.
    if (GetAncestor(current_, GA_PARENT) == host) {
        return GetWindow(current_, GW_HWNDPREV) == nullptr ? L"" : L"another child of the host window is above it";
    }
    for (HWND below = GetWindow(current_, GW_HWNDNEXT); below != nullptr; below = GetWindow(below, GW_HWNDNEXT)) {
        if (below == host) return L"";
    }
    return L"it is behind the host window";
}

std::wstring ScenarioRun::Start(const std::wstring& commandLine)
{
    if (started_ && !ended_) return L"the run before has not ended";
    // Another run against the same company: its checks see only what it did itself.
    if (started_) ForgetRun();
    commandLine_ = commandLine;
    host_.Show(StartedByHost());
    started_ = process_.Start(programFolder_ + L"\\" + edition_, commandLine, company_.DataFolder(), company_.LogPath());
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

std::wstring ScenarioRun::Window(const std::wstring& verb, const std::wstring& rest)
{
    const std::wstring text = Expand(rest);
    if (verb == L"dialog") {
        const ULONGLONG deadline = GetTickCount64() + kStepTimeoutMs;
        for (;;) {
            Poll();
            for (HWND dialog : ProgramDialogs()) {
                if (closing_.count(dialog) == 0 && CaptionMatches(CaptionText(dialog), text)) {
                    current_ = dialog;
                    return L"";
                }
            }
            if (GetTickCount64() >= deadline) return L"no such window appeared";
        }
    }
    if (current_ == nullptr) return L"no window: a dialog step comes first";
    std::vector<std::wstring> words;
    std::wstring value;
    if (verb == L"message") {
        SplitWords(text, 0, words, value);
        words = {L"message"};
    } else if (!SplitWords(text, 1, words, value)) {
        return L"a control name is needed";
    }
    const int id = ControlId(words[0]);
    if (id == 0) return L"unknown control " + words[0];
    if (verb == L"click") {
        ClickButton(current_, id);
        // A message box's button closes it: a box of the same caption after it is another.
        if (id == IDOK || id == IDCANCEL || id == IDYES || id == IDNO) closing_.insert(current_);
        return L"";
    }
    if (verb == L"set") {
        SetControlText(current_, id, value);
        return L"";
    }
    if (verb == L"toggle") {
        ToggleCheckBox(current_, id);
        return L"";
    }
    if (verb == L"checked" || verb == L"unchecked") {
        return IsChecked(current_, id) == (verb == L"checked") ? L"" : L"it is not " + verb;
    }
    if (verb == L"enabled" || verb == L"disabled") {
        return IsControlEnabled(current_, id) == (verb == L"enabled") ? L"" : L"it is not " + verb;
    }
    const std::wstring shown = ControlText(current_, id);
    return shown == value ? L"" : L"shows " + Shown(shown);
}

// post CONTROL to CAPTION / post close to CAPTION: a click, or WM_CLOSE, posted to a window of
// the program while another may be the current one (as another program can post them while a
// question is open). The window has a moment to act on it, and a window that it opens is seen.
std::wstring ScenarioRun::PostTo(const std::wstring& rest)
{
    std::vector<std::wstring> words;
    std::wstring caption;
    if (!SplitWords(Expand(rest), 2, words, caption) || words[1] != L"to") return L"post CONTROL to CAPTION";
    HWND target = nullptr;
    for (HWND dialog : VisibleDialogs(process_.Id())) {
        if (target == nullptr && closing_.count(dialog) == 0 && CaptionMatches(CaptionText(dialog), caption)) target = dialog;
    }
    if (target == nullptr) return L"no such window is on screen";
    if (words[0] == L"close") {
        PostMessageW(target, WM_CLOSE, 0, 0);
    } else {
        const int id = ControlId(words[0]);
        if (id == 0) return L"unknown control " + words[0];
        ClickButton(target, id);
    }
    const ULONGLONG settled = GetTickCount64() + kPostSettleMs;
    while (GetTickCount64() < settled) Poll();
    return L"";
}

// at most N windows at once: never were more of the program's windows on screen together.
std::wstring ScenarioRun::WindowsAtOnce(const std::wstring& rest)
{
    if (!ended_ && !WaitForEnd(kStepTimeoutMs)) return L"the run did not end";
    int most = 0;
    if (swscanf(rest.c_str(), L"most %d windows at once", &most) != 1) return L"at most N windows at once";
    if (mostWindowsAtOnce_ <= static_cast<size_t>(std::max(most, 0))) return L"";
    return std::to_wstring(mostWindowsAtOnce_) + L" were on screen together";
}

std::wstring ScenarioRun::Outcome(const std::wstring& verb, const std::wstring& rest)
{
    if (!ended_ && !WaitForEnd(kStepTimeoutMs)) return L"the run did not end";
    if (verb == L"ends") return exitCode_ == 0 ? L"" : L"exit status " + std::to_wstring(exitCode_);
    if (verb == L"never") return NeverShown(Expand(rest));
    if (verb == L"posted") return PostedOnce(rest);
    if (verb == L"nothing") {
        const size_t count = host_.PostedMessages().size();
        return count == 0 ? L"" : std::to_wstring(count) + L" messages arrived";
    }
    if (verb == L"host") return HostWindowState(rest);
    return HostCalls(verb, Expand(rest));
}

// never shown CAPTION
std::wstring ScenarioRun::NeverShown(const std::wstring& rest) const
{
    std::vector<std::wstring> words;
    std::wstring caption;
    if (!SplitWords(rest, 1, words, caption) || words[0] != L"shown") return L"never shown CAPTION";
    for (const std::wstring& seen : captionsSeen_) {
        if (CaptionMatches(seen, caption)) return L"it was shown";
    }
    return L"";
}

// posted W L: exactly one message arrived, the one the command line names, with W and L.
// posted W L, W L: exactly these messages arrived, in this order (one start each).
std::wstring ScenarioRun::PostedOnce(const std::wstring& rest) const
{
    std::vector<std::pair<long long, long long>> expected;
    std::wistringstream pairs(rest);
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

// host window was disabled / host window untouched; either way it is enabled at the end.
std::wstring ScenarioRun::HostWindowState(const std::wstring& rest) const
{
    const std::vector<bool>& changes = host_.EnableChanges();
    if (!host_.IsEnabled()) return L"the host window was left disabled";
    if (rest == L"window untouched") return changes.empty() ? L"" : L"the host window was disabled";
    if (rest == L"window was disabled") {
        if (changes != std::vector<bool>{false, true}) return L"it was not disabled once and enabled again";
        // At the end the run brings the host window to the foreground and enables it, then
        // posts (Wine delivers the activation after the enabling, whatever the order of calls).
        const std::wstring& events = host_.Events();
        const size_t posted = events.rfind(L'p');  // the run's own message comes last
        if (posted == std::wstring::npos) return L"";
        const size_t activation = events.find_last_of(L"ai", posted);
        if (activation == std::wstring::npos || events[activation] != L'a') {
            return L"it was not in the foreground when the message was posted (events " + events + L")";
        }
        return events.find(L'e') < posted ? L"" : L"a message was posted before it was enabled";
    }
    return L"unknown host window check";
}

// called TEXT / not called TEXT: a line of the host call log starts with TEXT.
std::wstring ScenarioRun::HostCalls(const std::wstring& verb, std::wstring text) const
{
    if (verb == L"not") {
        if (text.rfind(L"called ", 0) != 0) return L"unknown step";
        text = text.substr(7);
    }
    const std::string start = Utf8FromWide(text);
    bool found = false;
    for (const std::string& line : company_.CallLines()) found = found || StartsWith(line, start);
    if (verb == L"called") return found ? L"" : L"no such host call";
    return found ? L"the host was called so" : L"";
}

std::wstring ScenarioRun::Files(const std::wstring& verb, const std::wstring& rest)
{
    if (!ended_ && !WaitForEnd(kStepTimeoutMs)) return L"the run did not end";
    std::vector<std::wstring> words;
    std::wstring tail;
    if (verb == L"no") {
        if (!SplitWords(Expand(rest), 1, words, tail) || words[0] != L"file") return L"unknown step";
        return GetFileAttributesW(tail.c_str()) == INVALID_FILE_ATTRIBUTES ? L"" : L"the file exists";
    }
    if (verb == L"folder") return FolderHolds(Expand(rest));
    // file PATH equals EXPECTED (a file under tests/e2e/expected/) / holds TEXT / contains TEXT
    const wchar_t usage[] = L"file PATH equals NAME, file PATH holds TEXT, or file PATH contains TEXT";
    if (!SplitWords(Expand(rest), 2, words, tail)) return usage;
    bool exists = false;
    const std::string actual = ReadFileBytes(words[0], &exists);
    if (!exists) return L"no such file";
    if (words[1] == L"holds") return actual == Cp932FromWideText(tail) ? L"" : L"it holds something else";
    if (words[1] != L"equals" && words[1] != L"contains") return usage;
    KeepProducedXml(words[0]);
    if (words[1] == L"contains") {
        return actual.find(Cp932FromWideText(tail)) != std::string::npos ? L"" : L"it does not hold that text";
    }
    const std::wstring expectedPath = TestEnvironmentFolder(L"BRIDGE_SOURCE_DIR") + L"\\tests\\e2e\\expected\\" + tail;
    bool expectedExists = false;
    const std::string expected = ReadFileBytes(expectedPath, &expectedExists);
    if (!expectedExists) return L"cannot read " + expectedPath;
    if (actual == expected) return L"";
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return L"differs from byte " + std::to_wstring(at);
}

// folder PATH holds NAME...: exactly these names are in the folder (no fresh file left beside).
std::wstring ScenarioRun::FolderHolds(const std::wstring& rest) const
{
    std::vector<std::wstring> words;
    std::wstring names;
    if (!SplitWords(rest, 2, words, names) || words[1] != L"holds") return L"folder PATH holds NAME...";
    std::vector<std::wstring> expected;
    std::wistringstream in(names);
    for (std::wstring name; in >> name;) expected.push_back(name);
    std::sort(expected.begin(), expected.end());
    const std::vector<std::wstring> found = FolderNames(words[0]);
    if (found == expected) return L"";
    std::wstring list = L"it holds";
    for (const std::wstring& name : found) list += L" " + name;
    return list;
}

// A statement file the program wrote goes to the build's XML check as well (xmllint reads it).
void ScenarioRun::KeepProducedXml(const std::wstring& path)
{
    if (path.size() < 4 || _wcsicmp(path.c_str() + path.size() - 4, L".xml") != 0) return;
    std::wstring name = L"scenario-" + scenarioName_ + L"-" + edition_ + L"-" + std::to_wstring(++keptXml_) + L".xml";
    KeepXmlForCheck(path, name);
}

namespace {

// A window's rectangle in the screen's pixels: read in the window's own DPI awareness, then
// scaled as the system scales that window (a window that is not DPI aware, as the host's, is
// drawn larger than its own coordinates say).
RECT ScreenPixelsOf(HWND window)
{
    const DPI_AWARENESS_CONTEXT previous = SetThreadDpiAwarenessContext(GetWindowDpiAwarenessContext(window));
    RECT rect = {};
    GetWindowRect(window, &rect);
    if (previous != nullptr) SetThreadDpiAwarenessContext(previous);
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    for (POINT& corner : corners) LogicalToPhysicalPointForPerMonitorDPI(window, &corner);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

}  // namespace

// Only when BRIDGE_PICTURE_DIR names a folder (tools/screenshot): the program's windows (and
// the host window, when the host started the run) with a margin, saved as NAME plus
// BRIDGE_PICTURE_SUFFIX ".bmp" there.
std::wstring ScenarioRun::Picture(const std::wstring& name)
{
    wchar_t folder[MAX_PATH] = {}, suffix[64] = {};
    if (GetEnvironmentVariableW(L"BRIDGE_PICTURE_DIR", folder, MAX_PATH) == 0) return L"";
    GetEnvironmentVariableW(L"BRIDGE_PICTURE_SUFFIX", suffix, 64);
    PumpMessagesFor(kPaintSettleMs);  // let the program finish painting
    const std::wstring path = std::wstring(folder) + L"\\" + name + suffix + L".bmp";
    // Measured and copied in the screen's own pixels: to a player that is not DPI aware, the
    // screen is scaled down under display scaling while its pixels are not.
    const DPI_AWARENESS_CONTEXT previous = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const RECT area = PictureArea();
    const bool saved = !IsRectEmpty(&area) && SaveScreenArea(area, path);
    if (previous != nullptr) SetThreadDpiAwarenessContext(previous);
    if (IsRectEmpty(&area)) return L"the program shows no window";
    return saved ? L"" : L"cannot save " + path;
}

// The program's windows (and the host's, in a run it started) and a margin, within the screen.
RECT ScenarioRun::PictureArea() const
{
    RECT area = {};
    if (StartedByHost()) area = ScreenPixelsOf(host_.Handle());
    for (HWND dialog : VisibleDialogs(process_.Id())) {
        const RECT window = ScreenPixelsOf(dialog);
        UnionRect(&area, &area, &window);
    }
    if (IsRectEmpty(&area)) return area;
    InflateRect(&area, kPictureMargin, kPictureMargin);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&area, &area, &screen);
    return area;
}

// answers within N ms for S s: for S seconds the current window stays and answers, within N
// ms, every message the host's thread sends it (WM_NULL, as Windows asks a window whether it
// responds), while the host window goes on handling its own messages; and Windows never counts
// the window's program as not responding.
std::wstring ScenarioRun::Answers(const std::wstring& rest)
{
    if (current_ == nullptr) return L"no window: a dialog step comes first";
    unsigned withinMs = 0, seconds = 0;
    if (swscanf(rest.c_str(), L"within %u ms for %u s", &withinMs, &seconds) != 2) {
        return L"answers within N ms for S s";
    }
    const ULONGLONG start = GetTickCount64();
    for (ULONGLONG now = start; now - start < seconds * 1000ULL; now = GetTickCount64()) {
        const std::wstring after = L" after " + std::to_wstring(now - start) + L" ms";
        if (!IsWindow(current_)) return L"it went" + after;
        if (IsHungAppWindow(current_)) return L"Windows counts it as not responding" + after;
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(current_, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, withinMs, &result)) {
            return IsWindow(current_) ? L"a message sent" + after + L" was not answered within " +
                                            std::to_wstring(withinMs) + L" ms"
                                      : L"it went" + after;
        }
        Poll();
    }
    return L"";
}

// another program keeps the foreground for S s: a program of its own (the player started again)
// shows a window and takes the foreground, as a user who switches to another program during
// the run does; for S s it stays the foreground window. It is closed after.
std::wstring ScenarioRun::AnotherProgramInFront(const std::wstring& rest)
{
    unsigned seconds = 0;
    if (swscanf(rest.c_str(), L"program keeps the foreground for %u s", &seconds) != 1) {
        return L"another program keeps the foreground for S s";
    }
    wchar_t player[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, player, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(player) + L"\" --another-program";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION another = {};
    if (!CreateProcessW(player, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &another)) {
        return L"cannot start another program";
    }
    std::wstring failure;
    const HWND window = WindowOfProcess(another.dwProcessId, kSettleMs * 5);
    if (window == nullptr) failure = L"the other program showed no window";
    // It takes the foreground as a program the user clicks does.
    for (ULONGLONG deadline = GetTickCount64() + kSettleMs; window != nullptr && GetForegroundWindow() != window;) {
        SetForegroundWindow(window);
        if (GetTickCount64() >= deadline) failure = L"the other program's window did not come to the foreground";
        if (!failure.empty()) break;
        Poll();
    }
    const ULONGLONG start = GetTickCount64();
    for (ULONGLONG now = start; failure.empty() && now - start < seconds * 1000ULL; now = GetTickCount64()) {
        const HWND foreground = GetForegroundWindow();
        if (foreground != window) {
            failure = L"the foreground went to " + Shown(CaptionText(foreground)) + L" after " +
                      std::to_wstring(now - start) + L" ms";
        }
        Poll();
    }
    PostThreadMessageW(another.dwThreadId, WM_QUIT, 0, 0);
    if (WaitForSingleObject(another.hProcess, kStepTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(another.hProcess, 1);
    CloseHandle(another.hThread);
    CloseHandle(another.hProcess);
    return failure;
}

// start second LINE: the same program started again while the run goes on; not waited for.
std::wstring ScenarioRun::StartSecond(const std::wstring& commandLine)
{
    if (!started_ || ended_) return L"a second start comes while the run goes on";
    if (secondStarted_) return L"there is a second start already";
    secondStarted_ = second_.Start(programFolder_ + L"\\" + edition_, commandLine, company_.DataFolder(),
                                   company_.LogPath());
    return secondStarted_ ? L"" : L"could not start " + edition_ + L" again";
}

// second ends: the second start ends, with exit status 0, while the run goes on.
std::wstring ScenarioRun::SecondEnds(const std::wstring& rest)
{
    if (rest != L"ends") return L"unknown step";
    if (!secondStarted_) return L"there is no second start";
    DWORD status = 0;
    if (!second_.WaitForExit(kStepTimeoutMs, &status)) return L"the second start did not end";
    return status == 0 ? L"" : L"exit status " + std::to_wstring(status);
}

// post quit: WM_QUIT posted to the thread of the current window, as a stray PostQuitMessage
// or another program would.
std::wstring ScenarioRun::PostQuit(const std::wstring& rest) const
{
    if (rest != L"quit") return L"unknown step";
    if (current_ == nullptr) return L"no window: a dialog step comes first";
    const DWORD thread = GetWindowThreadProcessId(current_, nullptr);
    return PostThreadMessageW(thread, WM_QUIT, 0, 0) ? L"" : L"cannot post to the window's thread";
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
