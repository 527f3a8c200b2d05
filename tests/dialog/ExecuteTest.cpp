// Execute: the month range of the period, then each refusal of the output path in its order
// with its message, icon and focus, the folder and overwrite questions answered both ways.
#include <gtest/gtest.h>

#include "dialog/MonthRange.h"
#include "framework/ReplacementFile.h"
#include "tests/dialog/DialogDriver.h"
#include "tests/dialog/WineDrives.h"

namespace {

const char kNoPath[] = "データ出力先が指定されていません。\n\n出力先を指定してください。";
const char kPathTooLong[] = "出力先のパスが長すぎます。\n\n出力先を再入力してください。";
const char kBadDrive[] = "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。";
const char kNoFileName[] = "ファイル名が指定されていません。";
const char kCreateFolder[] = "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？";
const char kCreateFailed[] = "フォルダの作成に失敗しました。\n\n出力先を再入力してください。";
const char kOverwrite[] = "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";

constexpr UINT kRefusal = MB_ICONEXCLAMATION | MB_OK;
constexpr UINT kQuestion = MB_ICONQUESTION | MB_YESNO;

using Dlg = DrivenConditionDlg;

// The to-months accepted in months -1..13 of a period given by its first month and its last
// (above 100: in the next year).
TEST(MonthRangeTest, APeriodAcceptsItsOwnMonthsOnly)
{
    const struct {
        long from, first, last;
        const char* accepted;  // months -1..13, one character each
    } periods[] = {
        {4, 4, 103, "--YYYYYYYYYYYY-"},   // April to March: all twelve
        {1, 1, 12, "--YYYYYYYYYYYY-"},    // a calendar year
        {4, 4, 12, "-----YYYYYYYYY-"},    // 2002/04/01 to 2002/12/31
        {10, 10, 106, "--YYYYYY---YYY-"}, // 2002/10 to 2003/06: ends before it starts again
        {0, 0, 0, "---------------"},     // no period calendar
    };
    for (const auto& period : periods) {
        for (long to = -1; to <= 13; ++to) {
            const bool accepted = period.accepted[to + 1] == 'Y';
            EXPECT_EQ(IsMonthRangeAccepted(period.from, to, period.first, period.last), accepted)
                << "period " << period.first << ".." << period.last << ", to-month " << to;
        }
    }
}

class ExecuteTest : public ConditionDialogTest {
protected:
    // Types `path` (and to-month 3) and presses Execute, or `key` when given.
    static Dlg::Step Type(const std::wstring& path, UINT key = 0)
    {
        return [path, key](Dlg& d) {
            d.SetText(IDC_TO_MONTH, L"3");
            d.SetText(IDC_OUTPUT_PATH, path);
            if (key != 0) d.PostKey(IDC_TO_MONTH, key);
            else d.PostClick(IDC_EXECUTE);
        };
    }
    // Executes with `path`, then the steps `after`; the result of the dialog.
    INT_PTR ExecuteWith(const std::wstring& path, std::vector<Dlg::Step> after = {})
    {
        after.insert(after.begin(), Type(path));
        return Run(after);
    }
    static Dlg::Step ExpectBackToThePath()
    {
        return [](Dlg& d) {
            EXPECT_TRUE(d.HasFocus(IDC_OUTPUT_PATH));
            EXPECT_TRUE(d.AllSelected(IDC_OUTPUT_PATH));
        };
    }
    // The same in a second dialog over the same period, for a second answer to a question.
    INT_PTR ExecuteAgainWith(const std::wstring& path, UINT key = 0) const
    {
        LastConditionsStore noUser("", 0, 0);
        DrivenConditionDlg again(noUser);
        again.m_nPeriodStart = dlg.m_nPeriodStart;
        again.m_nPeriodEnd = dlg.m_nPeriodEnd;
        again.steps = {Type(path, key)};
        return again.DoModal();
    }
    std::wstring Path(const wchar_t* name) const { return host.Path() + L"\\" + name; }
    bool Exists(const wchar_t* name) const { return GetFileAttributesW(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES; }
};

TEST_F(ExecuteTest, AMonthOutsideThePeriodIsRefusedFirst)
{
    MessageBoxScript boxes;
    EXPECT_EQ(Run({[](Dlg& d) {
                       d.SetText(IDC_TO_MONTH, L"13");
                       d.SetText(IDC_OUTPUT_PATH, L"");  // refused too, but later
                       d.PostClick(IDC_EXECUTE);
                   },
                   [](Dlg& d) {
                       EXPECT_TRUE(d.HasFocus(IDC_TO_MONTH));
                       EXPECT_TRUE(d.AllSelected(IDC_TO_MONTH));
                   }}),
              kStillOpen);
    boxes.ExpectOnly(kMonthRange, kRefusal);
}

TEST_F(ExecuteTest, ACalendarYearPeriodOffersDecemberAndAcceptsJanuary)
{
    MessageBoxScript boxes;
    dlg.m_nPeriodStart = 20020101;
    dlg.m_nPeriodEnd = 20021231;
    EXPECT_EQ(Run({[&](Dlg& d) {
                  EXPECT_EQ(d.Text(IDC_FROM_MONTH), L"1");
                  EXPECT_EQ(d.Text(IDC_TO_MONTH), L"12");
                  d.SetText(IDC_TO_MONTH, L"1");
                  d.SetText(IDC_OUTPUT_PATH, Path(L"year.xml"));
                  d.PostClick(IDC_EXECUTE);
              }}),
              kConditionExecute);
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(ExecuteTest, ARememberedMonthOutsideThePeriodIsShownAndRefused)
{
    // The edit takes two digits from the user; what the settings file holds is shown whole.
    for (const std::wstring month : {L"0", L"110"}) {
        WriteSettings("suzuki/7/12:1/" + Utf8FromWide(month) + "/C:\\a.xml\n");
        MessageBoxScript boxes;
        EXPECT_EQ(Run({[&](Dlg& d) {
                      EXPECT_EQ(d.Text(IDC_TO_MONTH), month);
                      d.PostClick(IDC_EXECUTE);
                  }}),
                  kStillOpen);
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kMonthRange}) << Utf8FromWide(month);
    }
}

TEST_F(ExecuteTest, AnEmptyPathOpensTheBrowserWithNothingProposed)
{
    MessageBoxScript boxes;
    FileDialogScript browser(std::nullopt);
    EXPECT_EQ(ExecuteWith(L"", {[](Dlg& d) { EXPECT_TRUE(d.HasFocus(IDC_EXECUTE)); }}), kStillOpen);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kNoPath});
    ASSERT_EQ(browser.calls.size(), 1u);
    EXPECT_EQ(browser.calls[0].fileName, "");
    EXPECT_EQ(browser.calls[0].initialDir, "");
}

TEST_F(ExecuteTest, AChosenPathLongerThan255BytesIsRefusedNotCut)
{
    MessageBoxScript boxes;
    std::string longPath = "C:\\";
    while (longPath.size() < 280) longPath += "表表表表\\";
    longPath += "a.xml";
    FileDialogScript browser(longPath);
    EXPECT_EQ(Run({[](Dlg& d) {
                       d.SetText(IDC_TO_MONTH, L"3");
                       d.PostClick(IDC_BROWSE);
                   },
                   [](Dlg& d) { d.PostClick(IDC_EXECUTE); }, ExpectBackToThePath()}),
              kStillOpen);
    EXPECT_EQ(dlg.m_strOutputPath.Bytes(), longPath);
    boxes.ExpectOnly(kPathTooLong, kRefusal);
}

TEST_F(ExecuteTest, RefusedCharactersAndDoubleBackslashes)
{
    for (const wchar_t* path : {L"C:\\out\\*.xml", L"C:\\\\out\\a.xml", L"\\\\server\\\\share\\a.xml", L"C:\\a|b.xml",
                                L"C:\\out\\a\tb.xml", L"C:\\out\\a.xml\r", L"abc:def.xml", L"X:\\dir\\a:b.xml"}) {
        MessageBoxScript boxes;
        EXPECT_EQ(ExecuteWith(path, {ExpectBackToThePath()}), kStillOpen);
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kRefusedChars}) << Utf8FromWide(path);
    }
}

TEST_F(ExecuteTest, AnUnusableDriveOrShareIsRefused)
{
    for (const wchar_t* path : {L"1:\\a.xml", L"\\\\nosuchserver\\share\\a.xml", L"\\\\server", L"statement.xml",
                                L"C:statement.xml"}) {
        MessageBoxScript boxes;
        EXPECT_EQ(ExecuteWith(path, {ExpectBackToThePath()}), kStillOpen);
        SCOPED_TRACE(Utf8FromWide(path));
        boxes.ExpectOnly(kBadDrive, kRefusal);
    }
}

TEST_F(ExecuteTest, APathOnACdRomIsRefusedAndAWritableShareAccepted)
{
    MappedDrive cdrom('r', UnixPathOf(host.Path()), DRIVE_CDROM);
    MappedShare share("bridgesrv", "books", UnixPathOf(host.Path()));
    if (!cdrom.Ready() || !share.Ready()) GTEST_SKIP() << "no CD-ROM drive or share can be made in the Wine prefix";
    {
        MessageBoxScript boxes;
        EXPECT_EQ(ExecuteWith(L"R:\\a.xml", {ExpectBackToThePath()}), kStillOpen);
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kBadDrive});
    }
    MessageBoxScript boxes;
    EXPECT_EQ(ExecuteAgainWith(L"\\\\bridgesrv\\books\\share.xml"), kConditionExecute);
    EXPECT_TRUE(boxes.calls.empty());
    CReplacementFile file;  // written as the statement is, through the share's extended-length form
    ASSERT_TRUE(file.Open("\\\\bridgesrv\\books\\share.xml"));
    file.Write("new", 3);
    EXPECT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileBytes(host.Path() + L"\\share.xml"), "new");
}

TEST_F(ExecuteTest, APathWithoutFileNameOrNamingAFolderIsRefused)
{
    ASSERT_TRUE(CreateDirectoryW(Path(L"ソ").c_str(), nullptr));
    for (const wchar_t* name : {L"ソ\\", L"ソ"}) {
        MessageBoxScript boxes;
        EXPECT_EQ(ExecuteWith(Path(name), {ExpectBackToThePath()}), kStillOpen);
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kNoFileName}) << Utf8FromWide(name);
    }
}

TEST_F(ExecuteTest, AMissingFolderIsCreatedOnlyWhenTheUserAgrees)
{
    {
        MessageBoxScript boxes({IDNO});
        EXPECT_EQ(ExecuteWith(Path(L"new1\\new2\\a.xml"), {ExpectBackToThePath()}), kStillOpen);
        boxes.ExpectOnly(kCreateFolder, kQuestion);
        EXPECT_FALSE(Exists(L"new1"));
    }
    MessageBoxScript boxes({IDYES});
    EXPECT_EQ(ExecuteAgainWith(Path(L"new1\\ソ\\a.xml")), kConditionExecute);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kCreateFolder});
    EXPECT_TRUE(Exists(L"new1\\ソ"));
    EXPECT_FALSE(Exists(L"new1\\ソ\\a.xml"));
}

TEST_F(ExecuteTest, AFolderOnADriveWithoutRootCannotBeCreated)
{
    MappedDrive none('q', "", 0);
    if (!none.Ready()) GTEST_SKIP() << "drive Q: cannot be removed from the Wine prefix: " << none.Problem();
    MessageBoxScript boxes({IDYES});
    EXPECT_EQ(ExecuteWith(L"Q:\\out\\a.xml", {ExpectBackToThePath()}), kStillOpen);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{kCreateFolder, kCreateFailed}));
    ASSERT_EQ(boxes.calls.size(), 2u);
    EXPECT_EQ(boxes.calls[1].style, kRefusal);
}

TEST_F(ExecuteTest, AnExistingFileIsOverwrittenOnlyWhenTheUserAgrees)
{
    ASSERT_TRUE(WriteFileBytes(Path(L"a.xml"), "old"));
    {
        MessageBoxScript boxes({IDNO});
        EXPECT_EQ(ExecuteWith(Path(L"a.xml"), {ExpectBackToThePath()}), kStillOpen);
        boxes.ExpectOnly(kOverwrite, kQuestion);
    }
    MessageBoxScript boxes({IDYES});
    EXPECT_EQ(ExecuteAgainWith(Path(L"a.xml"), VK_F12), kConditionExecute);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kOverwrite});
}

TEST_F(ExecuteTest, ANewFileInAnExistingFolderEndsTheDialogWithoutQuestions)
{
    MessageBoxScript boxes;
    EXPECT_EQ(ExecuteWith(Path(L"表.xml")), kConditionExecute);
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(dlg.m_strOutputPath.Bytes(), Cp932(Path(L"表.xml")));
    EXPECT_EQ(dlg.m_strToMonth.Bytes(), "3");
    EXPECT_EQ(dlg.m_strFromMonth.Bytes(), "4");
    EXPECT_EQ(dlg.m_nTaxIncluded, 1);
}

}  // namespace

// What arrives while a question is open waits for it: a second Execute or Browse is not acted
// on, and a Cancel (the button, Escape's IDCANCEL, closing) runs once the question has been
// answered and then ends the dialog, whatever the answer. A path typed meanwhile is checked
// again from the start; the path the dialog ends with is the one last asked about. Once a
// Cancel waits, or the dialog has gone (with the host window that owned it), the command takes
// no further step: no folder made, no browser opened.
TEST_F(ExecuteTest, WhileAQuestionIsOpenNothingElseRuns)
{
    ASSERT_TRUE(WriteFileBytes(Path(L"a.xml"), "old"));
    ASSERT_TRUE(WriteFileBytes(Path(L"b.xml"), "old"));
    const auto click = [](int id) { return [id](Dlg& d) { d.PostClick(id); }; };
    const auto destroy = [](Dlg& d) { DestroyWindow(d.m_hWnd); };
    const struct {
        const char* what;
        const wchar_t* path;
        std::function<void(Dlg&)> meanwhile;  // during the first question
        std::deque<int> answers;
        INT_PTR result;
        std::vector<std::string> texts;
        const wchar_t* endPath;  // with kConditionExecute: the path the dialog ends with
    } cases[] = {
        {"Cancel, Yes", L"a.xml", click(IDC_CANCEL_BUTTON), {IDYES}, kConditionCancel, {kOverwrite, kCancelled}, nullptr},
        {"Escape, Yes", L"a.xml", click(IDCANCEL), {IDYES}, kConditionCancel, {kOverwrite, kCancelled}, nullptr},
        {"close, No", L"a.xml", [](Dlg& d) { d.PostClose(); }, {IDNO}, kConditionCancel, {kOverwrite, kCancelled}, nullptr},
        {"Cancel, create", L"new1\\a.xml", click(IDC_CANCEL_BUTTON), {IDYES}, kConditionCancel,
         {kCreateFolder, kCancelled}, nullptr},
        {"Cancel, no path", L"", click(IDC_CANCEL_BUTTON), {}, kConditionCancel, {kNoPath, kCancelled}, nullptr},
        {"gone, create", L"new3\\a.xml", destroy, {IDYES}, -1, {kCreateFolder}, nullptr},
        {"gone, no path", L"", destroy, {}, -1, {kNoPath}, nullptr},
        {"gone, overwrite", L"a.xml", destroy, {IDYES}, -1, {kOverwrite}, nullptr},
        {"Execute, No", L"a.xml", click(IDC_EXECUTE), {IDNO}, kStillOpen, {kOverwrite}, nullptr},
        {"Execute, no folder", L"new2\\a.xml", click(IDC_EXECUTE), {IDNO}, kStillOpen, {kCreateFolder}, nullptr},
        {"Browse, Yes", L"a.xml", click(IDC_BROWSE), {IDYES}, kConditionExecute, {kOverwrite}, L"a.xml"},
        {"typed, Yes", L"a.xml", [&](Dlg& d) { d.SetText(IDC_OUTPUT_PATH, Path(L"b.xml")); }, {IDYES, IDYES},
         kConditionExecute, {kOverwrite, kOverwrite}, L"b.xml"},
        {"typed, No", L"a.xml", [&](Dlg& d) { d.SetText(IDC_OUTPUT_PATH, Path(L"b.xml")); }, {IDYES, IDNO},
         kStillOpen, {kOverwrite, kOverwrite}, nullptr},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        ResetOpenCount();
        MessageBoxScript boxes(row.answers);
        boxes.whileOpen = {[&] { row.meanwhile(dlg); }};
        FileDialogScript browser(Cp932(Path(L"chosen.xml")));
        EXPECT_EQ(ExecuteWith(*row.path != L'\0' ? Path(row.path) : std::wstring()), row.result);
        EXPECT_EQ(boxes.Texts(), row.texts);
        EXPECT_EQ(MostOpenAtOnce(), 1);
        EXPECT_TRUE(browser.calls.empty());
        if (row.endPath) {
            EXPECT_EQ(dlg.m_strOutputPath.Bytes(), Cp932(Path(row.endPath)));
        }
    }
    EXPECT_FALSE(Exists(L"new1")) << "a Cancel waited when the user agreed";
    EXPECT_FALSE(Exists(L"new2"));
    EXPECT_FALSE(Exists(L"new3")) << "the dialog had gone when the user agreed";
}
