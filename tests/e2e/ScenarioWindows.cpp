// Steps on the program's windows: finding a dialog, reading and working its controls, where
// it is against the host window, messages posted to it, and what was shown over the run.
#include <algorithm>
#include <cwchar>
#include <vector>

#include "tests/e2e/ScenarioRun.h"
#include "tests/e2e/ScenarioText.h"
#include "tests/e2e/WindowDriver.h"

namespace {

const DWORD kSettleMs = 1000;
const DWORD kPostSettleMs = 500;
const wchar_t kNoWindow[] = L"no window: a dialog step comes first";

// left,top-right,bottom in screen coordinates.
std::wstring RectText(const RECT& rect)
{
    return std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L"-" + std::to_wstring(rect.right) + L"," +
           std::to_wstring(rect.bottom);
}

// The progress window turns its redraw flag off for the moment it takes a new state, and
// Windows clears its visible style with it: a window seen hidden is looked at again.
bool WhollyOnScreenWithin(HWND window, DWORD timeoutMs, DWORD pollMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!IsWhollyOnScreen(window)) {
        if (!IsWindow(window) || GetTickCount64() >= deadline) return false;
        PumpMessagesFor(pollMs);
    }
    return true;
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
HWND WindowOfProcess(DWORD process, DWORD timeoutMs, DWORD pollMs)
{
    ProcessWindow search{process, nullptr};
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (search.found == nullptr && GetTickCount64() < deadline) {
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) PumpMessagesFor(pollMs);
    }
    return search.found;
}

}  // namespace

// dialog CAPTION
std::wstring ScenarioRun::Dialog(const std::wstring& args)
{
    const std::wstring caption = Expand(args);
    const ULONGLONG deadline = GetTickCount64() + kStepTimeoutMs;
    for (;;) {
        Poll();
        for (HWND dialog : ProgramDialogs()) {
            if (closing_.count(dialog) == 0 && CaptionMatches(CaptionText(dialog), caption)) {
                current_ = dialog;
                return L"";
            }
        }
        if (GetTickCount64() >= deadline) return L"no such window appeared";
    }
}

std::wstring ScenarioRun::ControlStep(const std::wstring& args, int& id, std::wstring& value)
{
    if (current_ == nullptr) return kNoWindow;
    std::vector<std::wstring> words;
    if (!SplitWords(Expand(args), 1, words, value)) return L"a control name is needed";
    id = ControlId(words[0]);
    return id == 0 ? L"unknown control " + words[0] : L"";
}

// text CONTROL TEXT
std::wstring ScenarioRun::Text(const std::wstring& args)
{
    int id = 0;
    std::wstring value;
    if (std::wstring failure = ControlStep(args, id, value); !failure.empty()) return failure;
    const std::wstring shown = ControlText(current_, id);
    return shown == value ? L"" : L"shows " + Shown(shown);
}

// message TEXT: the text of the current message box.
std::wstring ScenarioRun::Message(const std::wstring& args)
{
    if (current_ == nullptr) return kNoWindow;
    std::vector<std::wstring> none;
    std::wstring value;
    SplitWords(Expand(args), 0, none, value);
    const std::wstring shown = ControlText(current_, ControlId(L"message"));
    return shown == value ? L"" : L"shows " + Shown(shown);
}

// set CONTROL TEXT
std::wstring ScenarioRun::Set(const std::wstring& args)
{
    int id = 0;
    std::wstring value;
    if (std::wstring failure = ControlStep(args, id, value); !failure.empty()) return failure;
    SetControlText(current_, id, value);
    return L"";
}

// click CONTROL
std::wstring ScenarioRun::Click(const std::wstring& args)
{
    int id = 0;
    std::wstring value;
    if (std::wstring failure = ControlStep(args, id, value); !failure.empty()) return failure;
    ClickButton(current_, id);
    // A message box's button closes it: a box of the same caption after it is another.
    if (id == IDOK || id == IDCANCEL || id == IDYES || id == IDNO) closing_.insert(current_);
    return L"";
}

// toggle CONTROL
std::wstring ScenarioRun::Toggle(const std::wstring& args)
{
    int id = 0;
    std::wstring value;
    if (std::wstring failure = ControlStep(args, id, value); !failure.empty()) return failure;
    ToggleCheckBox(current_, id);
    return L"";
}

// A control's state as a step names it (checked, enabled, ...).
std::wstring ScenarioRun::ControlState(const std::wstring& args, bool (*state)(HWND, int), bool wanted,
                                       const wchar_t* name)
{
    int id = 0;
    std::wstring value;
    if (std::wstring failure = ControlStep(args, id, value); !failure.empty()) return failure;
    return state(current_, id) == wanted ? L"" : std::wstring(L"it is not ") + name;
}

std::wstring ScenarioRun::Checked(const std::wstring& args)
{
    return ControlState(args, IsChecked, true, L"checked");
}

std::wstring ScenarioRun::Unchecked(const std::wstring& args)
{
    return ControlState(args, IsChecked, false, L"unchecked");
}

std::wstring ScenarioRun::Enabled(const std::wstring& args)
{
    return ControlState(args, IsControlEnabled, true, L"enabled");
}

std::wstring ScenarioRun::Disabled(const std::wstring& args)
{
    return ControlState(args, IsControlEnabled, false, L"disabled");
}

std::wstring ScenarioRun::OwnerHost(const std::wstring&)
{
    if (current_ == nullptr) return kNoWindow;
    const HWND owner = GetWindow(current_, GW_OWNER);
    if (owner == host_.Handle()) return L"";
    return owner == nullptr ? L"it has no owner" : L"it is owned by " + Shown(CaptionText(owner));
}

// owner CAPTION: a message said over another window of the program, which is still on screen.
std::wstring ScenarioRun::OwnerWindow(const std::wstring& args)
{
    if (current_ == nullptr) return kNoWindow;
    const HWND owner = GetWindow(current_, GW_OWNER);
    if (owner == nullptr) return L"it has no owner";
    if (!CaptionMatches(CaptionText(owner), Expand(args))) return L"it is owned by " + Shown(CaptionText(owner));
    return IsOnScreen(owner) ? L"" : L"its owner is not on screen";
}

std::wstring ScenarioRun::ParentHost(const std::wstring&)
{
    if (current_ == nullptr) return kNoWindow;
    return GetAncestor(current_, GA_PARENT) == host_.Handle() ? L"" : L"it is not a child of the host window";
}

// A child is in front when no other child of the host is above it; a top-level window when it
// is above the host window.
std::wstring ScenarioRun::InFront(const std::wstring&)
{
    if (current_ == nullptr) return kNoWindow;
    const HWND host = host_.Handle();
    if (GetAncestor(current_, GA_PARENT) == host) {
        return GetWindow(current_, GW_HWNDPREV) == nullptr ? L"" : L"another child of the host window is above it";
    }
    for (HWND below = GetWindow(current_, GW_HWNDNEXT); below != nullptr; below = GetWindow(below, GW_HWNDNEXT)) {
        if (below == host) return L"";
    }
    return L"it is behind the host window";
}

std::wstring ScenarioRun::WhollyOnScreen(const std::wstring&)
{
    if (current_ == nullptr) return kNoWindow;
    if (WhollyOnScreenWithin(current_, kSettleMs, kPollMs)) return L"";
    RECT rect = {};
    GetWindowRect(current_, &rect);
    return L"part of it cannot be seen: it is at " + RectText(rect) + L", what can be seen at " +
           RectText(VisibleArea(current_));
}

// post CONTROL to CAPTION / post close to CAPTION: a click, or WM_CLOSE, posted to a window of
// the program while another may be the current one (as another program can post them while a
// question is open). The window has a moment to act on it, and a window that it opens is seen.
std::wstring ScenarioRun::PostTo(const std::wstring& args)
{
    std::vector<std::wstring> words;
    std::wstring caption;
    if (!SplitWords(Expand(args), 2, words, caption) || words[1] != L"to") return L"post CONTROL to CAPTION";
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

// post quit: WM_QUIT posted to the thread of the current window, as a stray PostQuitMessage
// or another program would.
std::wstring ScenarioRun::PostQuit(const std::wstring&)
{
    if (current_ == nullptr) return kNoWindow;
    const DWORD thread = GetWindowThreadProcessId(current_, nullptr);
    return PostThreadMessageW(thread, WM_QUIT, 0, 0) ? L"" : L"cannot post to the window's thread";
}

// answers within N ms for S s: for S seconds the current window stays and answers, within N
// ms, every message the host's thread sends it (WM_NULL, as Windows asks a window whether it
// responds), while the host window goes on handling its own messages; and Windows never counts
// the window's program as not responding.
std::wstring ScenarioRun::Answers(const std::wstring& args)
{
    if (current_ == nullptr) return kNoWindow;
    unsigned withinMs = 0, seconds = 0;
    if (swscanf(args.c_str(), L"within %u ms for %u s", &withinMs, &seconds) != 2) {
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

// at most N windows at once: never were more of the program's windows on screen together.
std::wstring ScenarioRun::WindowsAtOnce(const std::wstring& args)
{
    int most = 0;
    if (swscanf(args.c_str(), L"%d windows at once", &most) != 1) return L"at most N windows at once";
    if (mostWindowsAtOnce_ <= static_cast<size_t>(std::max(most, 0))) return L"";
    return std::to_wstring(mostWindowsAtOnce_) + L" were on screen together";
}

// never shown CAPTION
std::wstring ScenarioRun::NeverShown(const std::wstring& args)
{
    std::vector<std::wstring> none;
    std::wstring caption;
    if (!SplitWords(Expand(args), 0, none, caption) || caption.empty()) return L"never shown CAPTION";
    for (const std::wstring& seen : captionsSeen_) {
        if (CaptionMatches(seen, caption)) return L"it was shown";
    }
    return L"";
}

// another program keeps the foreground for S s: a program of its own (the player started again)
// shows a window and takes the foreground, as a user who switches to another program during
// the run does; for S s it stays the foreground window. It is closed after, while this thread
// goes on handling its messages: the activation that follows its close may ask them of it.
std::wstring ScenarioRun::AnotherProgramInFront(const std::wstring& args)
{
    unsigned seconds = 0;
    if (swscanf(args.c_str(), L"%u s", &seconds) != 1) return L"another program keeps the foreground for S s";
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
    const HWND window = WindowOfProcess(another.dwProcessId, kSettleMs * 5, kPollMs);
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
    if (!WaitPumping(another.hProcess, kStepTimeoutMs)) TerminateProcess(another.hProcess, 1);
    CloseHandle(another.hThread);
    CloseHandle(another.hProcess);
    return failure;
}
