#pragma once
// The condition dialog created for real from template 130 and run modally, driven by a
// script of steps: each step runs on a timer tick of the dialog's own loop, after the keys
// and clicks posted by the step before it have been handled. Message boxes and save-file
// dialogs are answered through the framework's seams.

#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialog/ConditionDlg.h"
#include "dialog/LastConditionsStore.h"
#include "framework/CodePage.h"
#include "framework/TestSeams.h"
#include "res/resource.h"
#include "tests/host/HostTestFolder.h"

// DoModal's result when the script ran out with the dialog still open.
constexpr int kStillOpen = 4242;

// Two of the dialog's refusals and its cancel notice, as the user reads them.
inline constexpr char kMonthRange[] = "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
inline constexpr char kRefusedChars[] = "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。";
inline constexpr char kCancelled[] = "｢科目内訳書｣の集計を中止します。";

class DrivenConditionDlg : public CConditionDlg {
public:
    using Step = std::function<void(DrivenConditionDlg&)>;
    using CConditionDlg::CConditionDlg;

    std::vector<Step> steps;

    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    std::wstring Text(int id) const;
    void SetText(int id, const std::wstring& text) const { ::SetWindowTextW(Item(id), text.c_str()); }
    void PostKey(int id, UINT key) const { ::PostMessageW(Item(id), WM_KEYDOWN, key, 0); }
    void PostClick(int id) const { ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id))); }
    void PostClose() const { ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0); }
    bool HasFocus(int id) const { return ::GetFocus() == Item(id); }
    bool AllSelected(int id) const;  // the whole text of edit `id` is selected
    static void HoldShift(bool held);

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* message) override;

private:
    size_t m_nextStep = 0;
};

// What the user, or another program, does while a message box or the browser is open. The
// window's own loop then dispatches what was posted to any window of the thread, as a real
// box's loop does (the disabled dialog included).
using WhileOpen = std::function<void()>;

// The most message boxes and browsers that were open at once since the last reset.
int MostOpenAtOnce();
void ResetOpenCount();

// Answers message boxes in turn (OK when the answers run out) and keeps what was shown; the
// box shown n-th first runs the n-th action of `whileOpen`, if any.
class MessageBoxScript {
public:
    explicit MessageBoxScript(std::deque<int> answers = {});
    ~MessageBoxScript();
    MessageBoxScript(const MessageBoxScript&) = delete;
    MessageBoxScript& operator=(const MessageBoxScript&) = delete;

    std::vector<MessageBoxCall> calls;
    std::deque<int> answers;
    std::deque<WhileOpen> whileOpen;
    std::vector<std::string> Texts() const;
    // Exactly one box was shown: `text` under the program's caption, with `style`.
    void ExpectOnly(const std::string& text, UINT style) const;
};

// Answers save-file dialogs with `answer` (nullopt: cancelled) and keeps the calls; the first
// runs `whileOpen` before it answers.
class FileDialogScript {
public:
    explicit FileDialogScript(std::optional<std::string> answer);
    ~FileDialogScript();
    FileDialogScript(const FileDialogScript&) = delete;
    FileDialogScript& operator=(const FileDialogScript&) = delete;

    std::vector<FileDialogCall> calls;
    std::optional<std::string> answer;
    WhileOpen whileOpen;
};

// A dialog over the stand-in host's test company (2002/04/01 to 2003/03/31, tax-inclusive,
// user suzuki 7/12), filled as the run fills it.
class ConditionDialogTest : public ::testing::Test {
protected:
    HostTestFolder host;
    LastConditionsStore lastConditions{"suzuki", 7, 12};
    DrivenConditionDlg dlg{lastConditions};

    void SetUp() override;
    void TearDown() override;

    std::string Cp932(const std::wstring& wide) const;
    std::wstring Wide(const std::string& cp932) const { return WideFromCp932(cp932); }
    std::string HostFile(const wchar_t* name) const { return Cp932(host.Path() + L"\\" + name); }
    void WriteSettings(const std::string& bytes) const;  // the user's settings file
    INT_PTR Run(std::vector<DrivenConditionDlg::Step> steps);
};
