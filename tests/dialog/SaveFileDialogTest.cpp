// Once with the platform's own save-file dialog, driven from a second thread as a user would
// drive it: the title, filter, proposed name and start folder it shows prove what the browser
// hands to Windows; a name typed without extension gets the default one; Cancel changes nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/dialog/DialogDriver.h"

namespace {

const wchar_t kBrowserTitle[] = L"保存ファイルを指定";

struct SeenDialog {
    std::wstring title, fileName, filter, folder;
    bool readOnlyBoxShown = true;
};

struct FindRequest {
    DWORD pid;
    HWND found = nullptr;
};

BOOL CALLBACK FindBrowser(HWND window, LPARAM data)
{
    auto* request = reinterpret_cast<FindRequest*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t className[32] = {};
    wchar_t title[128] = {};
    GetClassNameW(window, className, 32);
    GetWindowTextW(window, title, 128);
    if (pid == request->pid && std::wstring(className) == L"#32770" && std::wstring(title) == kBrowserTitle &&
        IsWindowVisible(window)) {
        request->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForBrowser()
{
    for (int i = 0; i < 400; ++i) {
        FindRequest request{GetCurrentProcessId()};
        EnumWindows(FindBrowser, reinterpret_cast<LPARAM>(&request));
        if (request.found) return request.found;
        Sleep(25);
    }
    return nullptr;
}

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[MAX_PATH * 2] = {};
    GetDlgItemTextW(dialog, id, text, MAX_PATH * 2);
    return text;
}

// The file name control: an edit in the classic layout, a combo box in others.
int FileNameControl(HWND browser)
{
    return GetDlgItem(browser, edt1) ? edt1 : cmb13;
}

SeenDialog Look(HWND browser)
{
    SeenDialog seen;
    wchar_t text[MAX_PATH * 2] = {};
    GetWindowTextW(browser, text, MAX_PATH * 2);
    seen.title = text;
    seen.fileName = ItemText(browser, FileNameControl(browser));
    HWND types = GetDlgItem(browser, cmb1);
    const LRESULT selected = SendMessageW(types, CB_GETCURSEL, 0, 0);
    if (selected >= 0 && SendMessageW(types, CB_GETLBTEXTLEN, selected, 0) < MAX_PATH * 2) {
        SendMessageW(types, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text));
        seen.filter = text;
    }
    text[0] = L'\0';
    SendMessageW(browser, CDM_GETFOLDERPATH, MAX_PATH * 2, reinterpret_cast<LPARAM>(text));
    seen.folder = text;
    HWND readOnly = GetDlgItem(browser, chx1);
    seen.readOnlyBoxShown = readOnly != nullptr && IsWindowVisible(readOnly);
    return seen;
}

void Press(HWND browser, int id)
{
    PostMessageW(browser, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(browser, id)));
}

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

using Dlg = DrivenConditionDlg;

TEST_F(ConditionDialogTest, TheSystemSaveFileDialogShowsWhatTheBrowserAsksAndAddsTheExtension)
{
    const std::wstring folder = host.Path() + L"\\ソ";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    SeenDialog confirmed, cancelled;
    std::wstring chosen;
    wchar_t before[MAX_PATH] = {};
    wchar_t after[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    std::atomic<bool> foundBoth{false};
    std::thread user([&] {
        HWND browser = WaitForBrowser();
        if (!browser) return;
        confirmed = Look(browser);
        SetDlgItemTextW(browser, FileNameControl(browser), L"typed");
        Press(browser, IDOK);
        while (IsWindow(browser)) Sleep(25);
        browser = WaitForBrowser();
        if (!browser) return;
        cancelled = Look(browser);
        Press(browser, IDCANCEL);
        foundBoth = true;
    });

    const INT_PTR result = Run({[&](Dlg& d) {
                                    d.SetText(IDC_OUTPUT_PATH, folder + L"\\proposed.xml");
                                    d.PostClick(IDC_BROWSE);
                                },
                                [&](Dlg& d) {
                                    // The extension of the filter or the default "XML".
                                    EXPECT_PRED2(SameIgnoringCase, d.Text(IDC_OUTPUT_PATH), folder + L"\\typed.xml");
                                    chosen = d.Text(IDC_OUTPUT_PATH);
                                    EXPECT_TRUE(d.HasFocus(IDC_EXECUTE));
                                    d.PostClick(IDC_BROWSE);
                                },
                                [&](Dlg& d) {
                                    EXPECT_EQ(d.Text(IDC_OUTPUT_PATH), chosen) << "Cancel changes nothing";
                                    EXPECT_TRUE(d.HasFocus(IDC_EXECUTE));
                                }});
    user.join();
    GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_STREQ(after, before) << "the process's current folder stays as it was";
    EXPECT_EQ(result, kStillOpen);
    ASSERT_TRUE(foundBoth) << "the system's save-file dialog did not appear twice";
    EXPECT_EQ(confirmed.title, kBrowserTitle);
    EXPECT_EQ(confirmed.fileName, L"proposed.xml");
    EXPECT_EQ(confirmed.filter, L"Xml Files (*.xml)");
    EXPECT_EQ(confirmed.folder, folder);
    EXPECT_FALSE(confirmed.readOnlyBoxShown);
    EXPECT_PRED2(SameIgnoringCase, cancelled.fileName, L"typed.xml");
    EXPECT_EQ(cancelled.folder, folder);
}

}  // namespace
