#include "tests/dialog/DialogDriver.h"

#include <algorithm>
#include <utility>

namespace {

constexpr UINT_PTR kStepTimer = 7001;
constexpr UINT_PTR kWatchdogTimer = 7002;

int openNow = 0;
int mostOpen = 0;

// A scripted box or browser is open: the action, then what it posted dispatched as the open
// window's loop would.
void RunWhileOpen(const WhileOpen& action)
{
    mostOpen = std::max(mostOpen, ++openNow);
    if (action) {
        action();
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    --openNow;
}

}  // namespace

int MostOpenAtOnce()
{
    return mostOpen;
}

void ResetOpenCount()
{
    openNow = 0;
    mostOpen = 0;
}

std::wstring DrivenConditionDlg::Text(int id) const
{
    wchar_t text[1024] = {};
    ::GetWindowTextW(Item(id), text, 1024);
    return text;
}

bool DrivenConditionDlg::AllSelected(int id) const
{
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(Item(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start == 0 && end == static_cast<DWORD>(::GetWindowTextLengthW(Item(id)));
}

void DrivenConditionDlg::HoldShift(bool held)
{
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    state[VK_SHIFT] = held ? 0x80 : 0;
    ::SetKeyboardState(state);
}

BOOL DrivenConditionDlg::OnInitDialog()
{
    m_nextStep = 0;
    const BOOL result = CConditionDlg::OnInitDialog();
    ::SetTimer(m_hWnd, kStepTimer, 15, nullptr);
    ::SetTimer(m_hWnd, kWatchdogTimer, 20000, nullptr);
    return result;
}

BOOL DrivenConditionDlg::PreTranslateMessage(MSG* message)
{
    if (message->message == WM_TIMER && message->hwnd == m_hWnd) {
        if (message->wParam == kWatchdogTimer) {
            ADD_FAILURE() << (::IsWindowVisible(m_hWnd) ? "the script did not finish" : "the dialog was never shown");
            EndDialog(-99);
        } else if (!::IsWindowVisible(m_hWnd)) {
            // The loop shows the dialog once the messages of its initialisation are handled, and
            // a busy machine may let a tick come first: the user acts on a dialog that is shown.
        } else if (m_nextStep < steps.size()) {
            steps[m_nextStep++](*this);
        } else {
            EndDialog(kStillOpen);
        }
        return TRUE;
    }
    return CConditionDlg::PreTranslateMessage(message);
}

MessageBoxScript::MessageBoxScript(std::deque<int> scripted) : answers(std::move(scripted))
{
    SetMessageBoxResponder([this](const MessageBoxCall& call) {
        calls.push_back(call);
        WhileOpen action;
        if (!whileOpen.empty()) {
            action = std::move(whileOpen.front());
            whileOpen.pop_front();
        }
        int answer = IDOK;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        RunWhileOpen(action);
        return answer;
    });
}

MessageBoxScript::~MessageBoxScript()
{
    SetMessageBoxResponder(nullptr);
}

std::vector<std::string> MessageBoxScript::Texts() const
{
    std::vector<std::string> texts;
    for (const MessageBoxCall& call : calls) texts.push_back(call.text);
    return texts;
}

void MessageBoxScript::ExpectOnly(const std::string& text, UINT style) const
{
    ASSERT_EQ(calls.size(), 1u) << ::testing::PrintToString(Texts());
    EXPECT_EQ(calls[0].text, text);
    EXPECT_EQ(calls[0].caption, "科目内訳書");
    EXPECT_EQ(calls[0].style, style);
}

FileDialogScript::FileDialogScript(std::optional<std::string> chosen) : answer(std::move(chosen))
{
    SetFileDialogResponder([this](const FileDialogCall& call) {
        calls.push_back(call);
        RunWhileOpen(std::exchange(whileOpen, nullptr));
        return answer;
    });
}

FileDialogScript::~FileDialogScript()
{
    SetFileDialogResponder(nullptr);
}

void ConditionDialogTest::SetUp()
{
    ResetOpenCount();
    ServeHostFolder(host.Path());
    dlg.m_nPeriodStart = 20020401;
    dlg.m_nPeriodEnd = 20030331;
    dlg.m_strCompany = " テスト工業";
    dlg.m_strPeriod = " 2002/04/01～2003/03/31";
}

void ConditionDialogTest::TearDown()
{
    DrivenConditionDlg::HoldShift(false);
    ServeHostFolder(L"");
}

std::string ConditionDialogTest::Cp932(const std::wstring& wide) const
{
    std::string bytes;
    EXPECT_TRUE(Cp932FromWide(wide, bytes));
    return bytes;
}

void ConditionDialogTest::WriteSettings(const std::string& bytes) const
{
    CreateDirectoryW((host.Path() + L"\\conf").c_str(), nullptr);
    CreateDirectoryW((host.Path() + L"\\conf\\user").c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(host.Path() + L"\\conf\\user\\QuorlinA.env", bytes));
}

INT_PTR ConditionDialogTest::Run(std::vector<DrivenConditionDlg::Step> steps)
{
    dlg.steps = std::move(steps);
    return dlg.DoModal();
}
