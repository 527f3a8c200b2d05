// The application object and the entry point's run, the string resources, and the two
// seams through which tests answer message boxes and save-file dialogs.
#include <gtest/gtest.h>

#include <stdexcept>

#include "TestResource.h"
#include "TestSupport.h"
#include "framework/CodePage.h"
#include "framework/FileDialog.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"

namespace {

class RecordingApp : public CWinApp {
public:
    enum class Init { succeed, fail, raise };
    explicit RecordingApp(Init init) : m_init(init) {}

    BOOL InitInstance() override
    {
        ++initCalls;
        if (m_init == Init::raise) throw std::runtime_error("failed half-way");
        return m_init == Init::succeed;
    }
    int ExitInstance() override
    {
        ++exitCalls;
        exitAfterInit = initCalls == 1;
        return CWinApp::ExitInstance();
    }

    int initCalls = 0;
    int exitCalls = 0;
    bool exitAfterInit = false;

private:
    Init m_init;
};

bool QuitMessageLeftInQueue()
{
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

}  // namespace

TEST(WinApp, RunCallsExitInstanceOnceAfterEveryInitInstance)
{
    for (auto init : {RecordingApp::Init::succeed, RecordingApp::Init::fail, RecordingApp::Init::raise}) {
        RecordingApp app(init);
        ASSERT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(AfxWinMain(GetModuleHandleW(nullptr)), 0);
        EXPECT_EQ(app.initCalls, 1);
        EXPECT_EQ(app.exitCalls, 1);
        EXPECT_TRUE(app.exitAfterInit);
        // The loop after a successful start takes its own quit message out of the queue:
        // a quit left behind would end the next modal loop at once.
        EXPECT_FALSE(QuitMessageLeftInQueue());
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST(WinApp, RunWithoutApplicationDoesNothing)
{
    ASSERT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxWinMain(GetModuleHandleW(nullptr)), 0);
    EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleW(nullptr));
}

TEST(WinApp, CommandLineTextFollowsTheProgramName)
{
    EXPECT_EQ(CommandLineArguments(LR"("C:\Program Files\QuorlinA.exe"  123,1024,1,C:\out.xml)"),
              L"123,1024,1,C:\\out.xml");
    EXPECT_EQ(CommandLineArguments(L"QuorlinA.exe\t 1,2"), L"1,2");
    EXPECT_EQ(CommandLineArguments(L"\"C:\\a b\\x.exe\"1,2"), L"1,2");
    EXPECT_EQ(CommandLineArguments(L"QuorlinA.exe"), L"");
    EXPECT_EQ(CommandLineArguments(L"QuorlinA.exe   "), L"");
    EXPECT_EQ(CommandLineArguments(L"\"unterminated name"), L"");
    EXPECT_EQ(CommandLineArguments(L""), L"");

    RecordingApp app(RecordingApp::Init::succeed);
    std::string expected;
    Cp932FromWide(CommandLineArguments(GetCommandLineW()), expected);
    EXPECT_EQ(std::string(app.m_lpCmdLine), expected);
}

TEST(WinApp, StringResourcesComeBackAsCp932)
{
    EXPECT_EQ(AfxLoadString(IDS_TEST_TEXT), "集計中ソ表");
    EXPECT_TRUE(AfxLoadString(IDS_MISSING_TEXT).IsEmpty());
}

TEST(WinApp, ApplicationNameIsTheExecutablesBaseName)
{
    const std::string name = AfxGetAppName();
    EXPECT_TRUE(name == "framework_tests" || name == "framework_utf8_tests") << name;
}

TEST(MessageBoxSeam, RecordsTheCallAndReturnsTheScriptedAnswer)
{
    ScriptedMessageBoxes boxes(IDNO);
    HWND owner = GetDesktopWindow();
    EXPECT_EQ(AfxShowMessageBox(owner, "出力しますか？", "科目内訳書", MB_ICONQUESTION | MB_YESNO), IDNO);
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].owner, owner);
    EXPECT_EQ(boxes.calls[0].text, "出力しますか？");
    EXPECT_EQ(boxes.calls[0].caption, "科目内訳書");
    EXPECT_EQ(boxes.calls[0].style, static_cast<UINT>(MB_ICONQUESTION | MB_YESNO));
}

TEST(MessageBoxSeam, StandardBoxCarriesTheApplicationTitle)
{
    ScriptedMessageBoxes boxes(IDOK);
    EXPECT_EQ(AfxMessageBox("ﾒﾓﾘが不足しています。", MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(AfxShowMessageBox(nullptr, nullptr, nullptr, MB_OK), IDOK);
    ASSERT_EQ(boxes.calls.size(), 2u);
    EXPECT_EQ(boxes.calls[0].caption, AfxGetAppName());
    EXPECT_EQ(boxes.calls[0].text, "ﾒﾓﾘが不足しています。");
    EXPECT_EQ(boxes.calls[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes.calls[1].text, "");
    EXPECT_EQ(boxes.calls[1].caption, "");
}

TEST(FileDialogSeam, PassesTheSettingsAndReturnsTheChosenPath)
{
    ScriptedFileDialogs dialogs(std::string("D:\\出力\\ソ表.xml"));
    CWnd owner(GetDesktopWindow());
    CFileDialog dialog(FALSE, "XML", "*.xml", 0x180C, "Xml Files (*.xml)|*.xml||", &owner);
    dialog.SetTitle("保存ファイルを指定");
    dialog.SetInitialDir("C:\\表\\");
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetPathName(), "D:\\出力\\ソ表.xml");

    ASSERT_EQ(dialogs.calls.size(), 1u);
    const FileDialogCall& call = dialogs.calls[0];
    EXPECT_EQ(call.owner, GetDesktopWindow());
    EXPECT_EQ(call.title, "保存ファイルを指定");
    EXPECT_EQ(call.fileName, "*.xml");
    EXPECT_EQ(call.initialDir, "C:\\表\\");
    EXPECT_EQ(call.defExt, "XML");
    EXPECT_EQ(call.filter, "Xml Files (*.xml)|*.xml||");
    EXPECT_EQ(call.flags, 0x180Cu);
}

TEST(FileDialogSeam, CancelLeavesNoPath)
{
    ScriptedFileDialogs dialogs(std::nullopt);
    CFileDialog dialog(FALSE);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(dialog.GetPathName().IsEmpty());
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].owner, nullptr);
    EXPECT_EQ(dialogs.calls[0].fileName, "");
}
