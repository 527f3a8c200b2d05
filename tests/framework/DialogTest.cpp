// Dialogs from the test template: data exchange both ways, message-map dispatch, the modal
// loop (keys through PreTranslateMessage first, the owner disabled while it runs), modeless
// dialogs and the controls. Modal dialogs are driven by messages posted from OnInitDialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestResource.h"
#include "TestSupport.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/DpiAwareness.h"
#include "framework/WinApp.h"

namespace {

constexpr UINT_PTR kWatchdogTimer = 99;
constexpr UINT kVisibilityProbe = WM_APP + 1;

class TestDialog : public CDialog {
public:
    explicit TestDialog(CWnd* parent = nullptr) : CDialog(IDD_TEST_DIALOG, parent) {}

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        events.push_back("init");
        // A modal test whose script fails to end its dialog ends here instead of hanging.
        ::SetTimer(m_hWnd, kWatchdogTimer, 10000, nullptr);
        if (script) script(*this);
        return TRUE;
    }

    void DoDataExchange(CDataExchange* exchange) override
    {
        DDX_Control(exchange, IDC_NAME_EDIT, m_edName);
        DDX_Control(exchange, IDC_FLAG_CHECK, m_chkFlag);
        DDX_Control(exchange, IDC_PROGRESS_BAR, m_barMain);
        DDX_Text(exchange, IDC_NAME_EDIT, m_strName);
        DDX_Text(exchange, IDC_CODE_EDIT, m_strCode);
        DDV_MaxChars(exchange, m_strCode, 4);
    }

    // Enter in the name edit moves on to the check box; F12 anywhere executes.
    BOOL PreTranslateMessage(MSG* message) override
    {
        if (message->message == WM_KEYDOWN && message->wParam == VK_RETURN && message->hwnd == m_edName.m_hWnd) {
            events.push_back("enter");
            GotoDlgCtrl(&m_chkFlag);
            return TRUE;
        }
        if (message->message == WM_KEYDOWN && message->wParam == VK_F12) {
            events.push_back(::GetFocus() == m_chkFlag.m_hWnd ? "F12 on the check box" : "F12");
            OnExecute();
            return TRUE;
        }
        if (message->message == WM_TIMER && message->wParam == kWatchdogTimer) {
            ADD_FAILURE() << "the dialog was not ended";
            EndDialog(-99);
            return TRUE;
        }
        if (message->message == kVisibilityProbe) {
            events.push_back(IsWindowVisible(m_hWnd) ? "probe visible" : "probe hidden");
            return TRUE;
        }
        return CDialog::PreTranslateMessage(message);
    }

    void OnOK() override
    {
        events.push_back("ok");
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        events.push_back("cancel");
        CDialog::OnCancel();
    }
    afx_msg void OnExecute()
    {
        events.push_back("execute");
        if (throwOnExecute) throw std::runtime_error("handler failed");
        EndDialog(IDC_EXECUTE_BUTTON);
    }
    afx_msg void OnFlag() { events.push_back(m_chkFlag.GetCheck() ? "flag on" : "flag off"); }
    afx_msg void OnDestroy()
    {
        events.push_back("destroy");
        CDialog::OnDestroy();
    }

    void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, HWND target = nullptr)
    {
        ::PostMessageW(target ? target : m_hWnd, message, wParam, lParam);
    }
    void PostClick(int id) { Post(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

    CEdit m_edName;
    CButton m_chkFlag;
    CProgressCtrl m_barMain;
    CString m_strName;
    CString m_strCode;

    std::function<void(TestDialog&)> script;
    std::vector<std::string> events;
    bool throwOnExecute = false;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
    ON_BN_CLICKED(IDC_EXECUTE_BUTTON, &TestDialog::OnExecute)
    ON_BN_CLICKED(IDC_CANCEL_BUTTON, &TestDialog::OnCancel)
    ON_BN_CLICKED(IDC_FLAG_CHECK, &TestDialog::OnFlag)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

// A second level: its own table comes first, the tables above still answer the rest.
class DerivedDialog : public TestDialog {
public:
    afx_msg void OnExecuteHere()
    {
        events.push_back("derived execute");
        EndDialog(77);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedDialog, TestDialog)
    ON_BN_CLICKED(IDC_EXECUTE_BUTTON, &DerivedDialog::OnExecuteHere)
END_MESSAGE_MAP()

using Events = std::vector<std::string>;

std::wstring ControlText(HWND dialog, int id)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

// A top-level window to own dialogs, like the host's window.
class OwnerWindow {
public:
    OwnerWindow()
        : m_hwnd(CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr))
    {
    }
    ~OwnerWindow() { DestroyWindow(m_hwnd); }
    HWND Handle() const { return m_hwnd; }
    CWnd* Wnd() { return &m_wnd; }

private:
    HWND m_hwnd;
    CWnd m_wnd{m_hwnd};
};

}  // namespace

TEST(DataExchange, LoadsMembersIntoControlsAndSavesThemBack)
{
    TestDialog dialog;
    dialog.m_strName = "ソ表十能㈱";
    dialog.m_strCode = "12";
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG));
    HWND hwnd = dialog.m_hWnd;

    // OnInitDialog loaded the members and bound the controls.
    EXPECT_EQ(dialog.m_edName.m_hWnd, GetDlgItem(hwnd, IDC_NAME_EDIT));
    EXPECT_EQ(dialog.m_chkFlag.m_hWnd, GetDlgItem(hwnd, IDC_FLAG_CHECK));
    EXPECT_EQ(ControlText(hwnd, IDC_NAME_EDIT), L"ソ表十能㈱");
    EXPECT_EQ(SendDlgItemMessageW(hwnd, IDC_CODE_EDIT, EM_GETLIMITTEXT, 0, 0), 4);

    SetDlgItemTextW(hwnd, IDC_NAME_EDIT, L"新しい名前");
    SetDlgItemTextW(hwnd, IDC_CODE_EDIT, L"1234");
    EXPECT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.m_strName, "新しい名前");
    EXPECT_EQ(dialog.m_strCode, "1234");

    dialog.m_strName.Empty();
    dialog.UpdateData(FALSE);
    EXPECT_EQ(ControlText(hwnd, IDC_NAME_EDIT), L"");

    SetDlgItemTextW(hwnd, IDC_NAME_EDIT, L"a\x20AC" L"b");  // no CP932 form for the euro sign
    dialog.UpdateData(TRUE);
    EXPECT_EQ(dialog.m_strName, "a?b");
}

// The limit is for typing: a longer text the program set itself is saved whole, never cut
// into another value.
TEST(DataExchange, SavedTextLongerThanItsLimitIsTakenWhole)
{
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG));
    const std::pair<const wchar_t*, const char*> cases[] = {{L"アイウ", "アイウ"}, {L"12345", "12345"}};
    for (const auto& [set, saved] : cases) {
        SetDlgItemTextW(dialog.m_hWnd, IDC_CODE_EDIT, set);
        dialog.UpdateData(TRUE);
        EXPECT_EQ(dialog.m_strCode, saved);
    }
}

TEST(MessageMap, ClickedButtonsReachTheirHandlers)
{
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG));
    dialog.m_chkFlag.SetCheck(BST_CHECKED);
    SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_FLAG_CHECK, BN_CLICKED), 0);
    // Other notifications of the same control are not clicks.
    SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_FLAG_CHECK, BN_SETFOCUS), 0);
    SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_CANCEL_BUTTON, BN_CLICKED), 0);
    // IDOK comes from the base table to the virtual OnOK.
    SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(dialog.events, (Events{"init", "flag on", "cancel", "ok"}));
}

TEST(MessageMap, DerivedTableComesBeforeItsBases)
{
    DerivedDialog dialog;
    dialog.script = [](TestDialog& d) {
        d.PostClick(IDC_FLAG_CHECK);
        d.PostClick(IDC_EXECUTE_BUTTON);
    };
    EXPECT_EQ(dialog.DoModal(), 77);
    EXPECT_EQ(dialog.events, (Events{"init", "flag off", "derived execute", "destroy"}));
}

TEST(ModalLoop, PreTranslateMessageSeesKeysBeforeTheDialogManager)
{
    TestDialog dialog;
    dialog.script = [&](TestDialog& d) {
        // Enter would be IDOK for the dialog manager; the dialog takes it first.
        d.Post(WM_KEYDOWN, VK_RETURN, 0, d.m_edName.m_hWnd);
        d.Post(WM_KEYDOWN, VK_F12, 0, d.m_edName.m_hWnd);
    };
    EXPECT_EQ(dialog.DoModal(), IDC_EXECUTE_BUTTON);
    EXPECT_EQ(dialog.events, (Events{"init", "enter", "F12 on the check box", "execute", "destroy"}));
}

TEST(ModalLoop, KeysThePreTranslationLeavesGoToTheDialogManager)
{
    TestDialog dialog;
    dialog.script = [](TestDialog& d) { d.Post(WM_KEYDOWN, VK_ESCAPE, 0, d.m_edName.m_hWnd); };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.events, (Events{"init", "cancel", "destroy"}));
}

TEST(ModalLoop, CloseBoxCancels)
{
    TestDialog dialog;
    dialog.script = [](TestDialog& d) { d.Post(WM_CLOSE); };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.events, (Events{"init", "cancel", "destroy"}));
}

TEST(ModalLoop, EnterReachesOnOkWhichSavesTheControls)
{
    TestDialog dialog;
    dialog.script = [](TestDialog& d) {
        SetDlgItemTextW(d.m_hWnd, IDC_CODE_EDIT, L"表");
        d.Post(WM_KEYDOWN, VK_RETURN, 0, GetDlgItem(d.m_hWnd, IDC_CODE_EDIT));
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strCode, "表");
    EXPECT_EQ(dialog.events, (Events{"init", "ok", "destroy"}));
}

// Watches a dialog for being shown: then it notes "shown" and clicks Execute, which ends it.
class ShowWatch {
public:
    static void Start(TestDialog& dialog)
    {
        watched_ = &dialog;
        previous_ = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(dialog.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_SHOWWINDOW && wParam != FALSE) {
            watched_->events.push_back("shown");
            watched_->PostClick(IDC_EXECUTE_BUTTON);
        }
        return ::CallWindowProcW(previous_, window, message, wParam, lParam);
    }

    static inline TestDialog* watched_ = nullptr;
    static inline WNDPROC previous_ = nullptr;
};

// A message posted during the initialisation finds the dialog hidden; then, with nobody
// asking, the loop shows it.
TEST(ModalLoop, DialogIsShownOnceItsInitialMessagesAreHandled)
{
    TestDialog dialog;
    dialog.script = [](TestDialog& d) {
        d.Post(kVisibilityProbe);
        ShowWatch::Start(d);
    };
    EXPECT_EQ(dialog.DoModal(), IDC_EXECUTE_BUTTON);
    EXPECT_EQ(dialog.events, (Events{"init", "probe hidden", "shown", "execute", "destroy"}));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(ModalLoop, EndingDuringInitialisationSkipsTheLoop)
{
    TestDialog dialog;
    dialog.script = [](TestDialog& d) { d.EndDialog(1003); };
    EXPECT_EQ(dialog.DoModal(), 1003);
    EXPECT_EQ(dialog.events, (Events{"init", "destroy"}));
}

TEST(ModalLoop, OwnerIsDisabledWhileTheDialogRuns)
{
    OwnerWindow owner;
    TestDialog dialog(owner.Wnd());
    bool enabledDuring = true;
    HWND ownerDuring = nullptr;
    dialog.script = [&](TestDialog& d) {
        enabledDuring = IsWindowEnabled(owner.Handle());
        ownerDuring = GetWindow(d.m_hWnd, GW_OWNER);
        d.PostClick(IDC_CANCEL_BUTTON);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(enabledDuring);
    EXPECT_EQ(ownerDuring, owner.Handle());
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST(ModalLoop, OwnerDisabledBeforeStaysDisabled)
{
    OwnerWindow owner;
    EnableWindow(owner.Handle(), FALSE);
    TestDialog dialog(owner.Wnd());
    dialog.script = [](TestDialog& d) { d.PostClick(IDC_EXECUTE_BUTTON); };
    EXPECT_EQ(dialog.DoModal(), IDC_EXECUTE_BUTTON);
    EXPECT_FALSE(IsWindowEnabled(owner.Handle()));
}

// The exception stays inside the dialog, and the dialog ends as failed: not with the id of
// the button whose handler threw, nor with a click that was still waiting.
TEST(ModalLoop, HandlerExceptionEndsTheDialogAsFailed)
{
    OwnerWindow owner;
    TestDialog dialog(owner.Wnd());
    dialog.throwOnExecute = true;
    dialog.script = [](TestDialog& d) {
        d.PostClick(IDC_EXECUTE_BUTTON);
        d.PostClick(IDC_CANCEL_BUTTON);
    };
    EXPECT_EQ(dialog.DoModal(), kDialogFailed);
    EXPECT_EQ(dialog.events, (Events{"init", "execute", "destroy"}));
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST(ModalLoop, QuitMessageEndsTheLoopAndStaysForTheOuterLoop)
{
    TestDialog dialog;
    dialog.script = [](TestDialog&) { PostQuitMessage(3); };
    EXPECT_EQ(dialog.DoModal(), -1);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
}

TEST(ModalLoop, MissingTemplateFailsWithoutTouchingTheOwner)
{
    OwnerWindow owner;
    CDialog dialog(4242, owner.Wnd());
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST(ModelessDialog, EndDialogHidesAndDestructionDestroys)
{
    HWND hwnd = nullptr;
    {
        TestDialog dialog;
        ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG));
        hwnd = dialog.m_hWnd;
        EXPECT_FALSE(IsWindowVisible(hwnd));  // created hidden, as the template says
        EXPECT_FALSE(dialog.Create(IDD_TEST_DIALOG));  // one window per object

        dialog.ShowWindow(SW_SHOW);
        EXPECT_TRUE(IsWindowVisible(hwnd));
        dialog.EndDialog(1);
        EXPECT_FALSE(IsWindowVisible(hwnd));
        EXPECT_TRUE(IsWindow(hwnd));
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(ModelessDialog, ParentCanBeChangedAfterCreation)
{
    OwnerWindow host;
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG, nullptr));
    const CWnd previous = dialog.SetParent(host.Wnd());
    EXPECT_EQ(previous.GetSafeHwnd(), GetDesktopWindow());
    EXPECT_EQ(GetAncestor(dialog.m_hWnd, GA_PARENT), host.Handle());
}

// A dialog made under another window's DPI awareness has that awareness (Windows parents only
// windows of one awareness), and the thread's own holds again after.
TEST(ModelessDialog, MadeWithTheDpiAwarenessOfAnotherWindow)
{
    const DPI_AWARENESS_CONTEXT previous = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
    OwnerWindow unaware;
    SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
    TestDialog dialog;
    {
        const CDpiAwarenessScope scope(unaware.Handle());
        ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG, unaware.Wnd()));
    }
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(dialog.m_hWnd)), DPI_AWARENESS_UNAWARE);
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
    const CDpiAwarenessScope nothing(nullptr);
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
    SetThreadDpiAwarenessContext(previous);
}

TEST(Window, TextsCrossAsCp932)
{
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG));
    dialog.SetWindowText("集計中 55％");
    wchar_t caption[64] = {};
    GetWindowTextW(dialog.m_hWnd, caption, 64);
    EXPECT_STREQ(caption, L"集計中 55％");

    CString text;
    EXPECT_TRUE(CWnd(GetDlgItem(dialog.m_hWnd, IDC_CAPTION_STATIC)).GetWindowText(text));
    EXPECT_EQ(text, "表示");
    EXPECT_TRUE(dialog.m_chkFlag.GetWindowText(text));
    EXPECT_EQ(text, "税込み(&Z)");

    // A character without a CP932 form is told, not passed off as the '?' that stands for it.
    SetWindowTextW(dialog.m_edName.m_hWnd, L"a\U0001F600b");
    EXPECT_FALSE(dialog.m_edName.GetWindowText(text));
    EXPECT_EQ(text.Bytes().front(), 'a');
    EXPECT_EQ(text.Bytes().back(), 'b');
}

TEST(Window, MessageBoxIsOwnedByTheWindow)
{
    OwnerWindow owner;
    CWnd* wnd = owner.Wnd();
    ScriptedMessageBoxes boxes(IDOK);
    EXPECT_EQ(wnd->MessageBox("出力が終了しました。", "科目内訳書", MB_ICONINFORMATION), IDOK);
    wnd->MessageBox("x", nullptr, MB_OK);
    ASSERT_EQ(boxes.calls.size(), 2u);
    EXPECT_EQ(boxes.calls[0].owner, owner.Handle());
    EXPECT_EQ(boxes.calls[0].style, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(boxes.calls[1].caption, AfxGetAppName());
}

// Each wrapper sends the message it names.
TEST(Controls, ProgressBarWrappersSendTheirMessages)
{
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG));
    CProgressCtrl& bar = dialog.m_barMain;
    bar.SetRange(10, 1000);
    EXPECT_EQ(bar.SendMessage(PBM_GETRANGE, TRUE, 0), 10);
    EXPECT_EQ(bar.SendMessage(PBM_GETRANGE, FALSE, 0), 1000);
    EXPECT_EQ(bar.SetStep(7), 10);   // the control's own first step
    EXPECT_EQ(bar.SetPos(20), 10);
    EXPECT_EQ(bar.GetPos(), 20);
    EXPECT_EQ(bar.SendMessage(PBM_GETPOS, 0, 0), 20);
}
