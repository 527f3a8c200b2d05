// The condition dialog's start (past data, remembered or default conditions, the host's
// fixed path), its keys, its tax box, Cancel and the save-file browser.
#include <gtest/gtest.h>

#include "tests/dialog/DialogDriver.h"

namespace {

const char kPastData[] = "過去実績データは、連携の対象として使用できません。\n\nアプリケーションを終了します。";

using Dlg = DrivenConditionDlg;

TEST_F(ConditionDialogTest, PastResultsDataIsRefusedBeforeTheDialogShows)
{
    MessageBoxScript boxes;
    dlg.m_bPastData = 1;
    bool stepRan = false;
    EXPECT_EQ(Run({[&](Dlg&) { stepRan = true; }}), kConditionCancel);
    EXPECT_FALSE(stepRan);
    boxes.ExpectOnly(kPastData, MB_ICONEXCLAMATION | MB_OK);
}

TEST_F(ConditionDialogTest, WithoutRememberedConditionsThePeriodAndTheHostGiveTheDefaults)
{
    EXPECT_EQ(Run({[&](Dlg& d) {
                  EXPECT_EQ(d.Text(IDC_FROM_MONTH), L"4");
                  EXPECT_EQ(d.Text(IDC_TO_MONTH), L"3");
                  EXPECT_EQ(d.Text(IDC_COMPANY), L" テスト工業");
                  EXPECT_EQ(d.Text(IDC_OUTPUT_PATH), host.Path() + L"\\out\\*.xml");
                  EXPECT_EQ(d.Text(IDC_OUTPUT_GROUP), L"出力先(&O)");
                  EXPECT_TRUE(::IsWindowEnabled(d.Item(IDC_OUTPUT_PATH)));
                  EXPECT_EQ(::SendMessageW(d.Item(IDC_TAX_INCLUDED), BM_GETCHECK, 0, 0), BST_CHECKED);
                  EXPECT_TRUE(d.HasFocus(IDC_TO_MONTH));
                  EXPECT_TRUE(::IsWindowVisible(d.m_hWnd));
              }}),
              kStillOpen);
    EXPECT_EQ(dlg.m_nTaxIncluded, 1);
    EXPECT_EQ(dlg.m_bFixedPath, 0);
}

TEST_F(ConditionDialogTest, RememberedConditionsReplaceTheDefaults)
{
    WriteSettings("suzuki/7/12:0/11/C:\\ソ\\r.xml\n");
    EXPECT_EQ(Run({[&](Dlg& d) {
                  EXPECT_EQ(d.Text(IDC_FROM_MONTH), L"4");  // always the period's first month
                  EXPECT_EQ(d.Text(IDC_TO_MONTH), L"11");
                  EXPECT_EQ(d.Text(IDC_OUTPUT_PATH), L"C:\\ソ\\r.xml");
                  EXPECT_EQ(::SendMessageW(d.Item(IDC_TAX_INCLUDED), BM_GETCHECK, 0, 0), BST_UNCHECKED);
              }}),
              kStillOpen);
    EXPECT_EQ(dlg.m_nTaxIncluded, 0);
    EXPECT_TRUE(lastConditions.Write(1, 5, nullptr));  // a host-started run keeps the path it found
    EXPECT_EQ(ReadFileBytes(host.Path() + L"\\conf\\user\\QuorlinA.env"), "suzuki/7/12:1/5/C:\\ソ\\r.xml\n");
}

TEST_F(ConditionDialogTest, AnEntryWithoutPathGetsTheTemporaryFolderWhenTheHostHasNoOutputFolder)
{
    WriteSettings("suzuki/7/12:1/12/\n");
    host.ReplaceLine(L"host.ini", 10, "Output =");
    ServeHostFolder(host.Path());
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    std::wstring expected = temp;
    if (expected.back() != L'\\') expected += L'\\';
    EXPECT_EQ(Run({[&](Dlg& d) {
                  EXPECT_EQ(d.Text(IDC_OUTPUT_PATH), expected + L"*.xml");
                  EXPECT_EQ(d.Text(IDC_TO_MONTH), L"12");
              }}),
              kStillOpen);
}

TEST_F(ConditionDialogTest, AHostPathIsFixedAndSkipsTheOverwriteQuestion)
{
    MessageBoxScript boxes;
    const std::string fixed = HostFile(L"fixed.xml");
    ASSERT_TRUE(WriteFileBytes(host.Path() + L"\\fixed.xml", "old"));
    dlg.m_strHostPath = fixed.c_str();
    EXPECT_EQ(Run({[&](Dlg& d) {
                       EXPECT_EQ(d.Text(IDC_OUTPUT_PATH), Wide(fixed));
                       EXPECT_FALSE(::IsWindowEnabled(d.Item(IDC_OUTPUT_PATH)));
                       EXPECT_FALSE(::IsWindowEnabled(d.Item(IDC_BROWSE)));
                       EXPECT_EQ(d.Text(IDC_OUTPUT_GROUP), L"出力先");
                       ::SetFocus(d.Item(IDC_TAX_INCLUDED));
                       d.PostKey(IDC_TAX_INCLUDED, VK_RETURN);
                   },
                   [&](Dlg& d) {
                       EXPECT_TRUE(d.HasFocus(IDC_EXECUTE));
                       d.PostClick(IDC_EXECUTE);
                   }}),
              kConditionExecute);
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(dlg.m_bFixedPath, 1);
    EXPECT_EQ(dlg.m_strOutputPath.Bytes(), fixed);
}

TEST_F(ConditionDialogTest, EnterMovesThroughTheDialogAndPressesTheButtons)
{
    FileDialogScript browser(std::nullopt);
    EXPECT_EQ(Run({[&](Dlg& d) { d.PostKey(IDC_TO_MONTH, VK_RETURN); },
                   [&](Dlg& d) {
                       EXPECT_TRUE(d.HasFocus(IDC_TAX_INCLUDED));
                       d.PostKey(IDC_TAX_INCLUDED, VK_RETURN);
                   },
                   [&](Dlg& d) {
                       EXPECT_TRUE(d.HasFocus(IDC_OUTPUT_PATH));
                       EXPECT_TRUE(d.AllSelected(IDC_OUTPUT_PATH));
                       d.PostKey(IDC_OUTPUT_PATH, VK_RETURN);
                   },
                   [&](Dlg& d) {
                       EXPECT_TRUE(d.HasFocus(IDC_BROWSE));
                       d.PostKey(IDC_BROWSE, VK_RETURN);
                   },
                   [&](Dlg& d) {
                       EXPECT_EQ(browser.calls.size(), 1u);
                       EXPECT_TRUE(d.HasFocus(IDC_EXECUTE));
                   }}),
              kStillOpen);
}

TEST_F(ConditionDialogTest, EnterOnExecuteAndF12AnywhereExecute)
{
    MessageBoxScript boxes;
    EXPECT_EQ(Run({[&](Dlg& d) {
                       d.SetText(IDC_TO_MONTH, L"13");
                       ::SetFocus(d.Item(IDC_EXECUTE));
                       d.PostKey(IDC_EXECUTE, VK_RETURN);
                   },
                   [&](Dlg& d) { d.PostKey(IDC_TAX_INCLUDED, VK_F12); }}),
              kStillOpen);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{kMonthRange, kMonthRange}));
}

TEST_F(ConditionDialogTest, WithShiftHeldEnterAndF12DoNothingSpecialAndNeverEndTheDialog)
{
    MessageBoxScript boxes;
    EXPECT_EQ(Run({[&](Dlg& d) {
                       d.SetText(IDC_OUTPUT_PATH, Wide(HostFile(L"a.xml")));
                       Dlg::HoldShift(true);
                       d.PostKey(IDC_TO_MONTH, VK_RETURN);
                   },
                   [&](Dlg& d) {
                       EXPECT_FALSE(d.HasFocus(IDC_TAX_INCLUDED));
                       d.PostKey(IDC_TO_MONTH, VK_F12);
                   },
                   [&](Dlg&) { Dlg::HoldShift(false); }}),
              kStillOpen)
        << "Shift+Enter reaches the platform's default key, which must not end the dialog";
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(ConditionDialogTest, EscapeCancelsWithItsMessage)
{
    MessageBoxScript boxes;
    EXPECT_EQ(Run({[&](Dlg& d) { d.PostKey(IDC_TO_MONTH, VK_ESCAPE); }}), kConditionCancel);
    boxes.ExpectOnly(kCancelled, MB_ICONINFORMATION | MB_OK);
}

TEST_F(ConditionDialogTest, TheCancelButtonCancels)
{
    MessageBoxScript boxes;
    EXPECT_EQ(Run({[&](Dlg& d) { d.PostClick(IDC_CANCEL_BUTTON); }}), kConditionCancel);
    boxes.ExpectOnly(kCancelled, MB_ICONINFORMATION | MB_OK);
}

TEST_F(ConditionDialogTest, TheTaxBoxSetsTheFlagOnEveryClick)
{
    EXPECT_EQ(Run({[&](Dlg& d) { ::SendMessageW(d.Item(IDC_TAX_INCLUDED), BM_CLICK, 0, 0); },
                   [&](Dlg& d) {
                       EXPECT_EQ(d.m_nTaxIncluded, 0);
                       ::SendMessageW(d.Item(IDC_TAX_INCLUDED), BM_CLICK, 0, 0);
                       EXPECT_EQ(d.m_nTaxIncluded, 1);
                   }}),
              kStillOpen);
}

class BrowserTest : public ConditionDialogTest {
protected:
    // Types `path`, presses the browse button, and expects `shown` in the edit afterwards and
    // the focus on Execute; the one browser call, owned by the dialog.
    FileDialogCall Browse(const FileDialogScript& browser, const std::wstring& path, const std::wstring& shown)
    {
        HWND owner = nullptr;
        EXPECT_EQ(Run({[&](Dlg& d) {
                           owner = d.m_hWnd;
                           d.SetText(IDC_OUTPUT_PATH, path);
                           d.PostClick(IDC_BROWSE);
                       },
                       [&](Dlg& d) {
                           EXPECT_EQ(d.Text(IDC_OUTPUT_PATH), shown);
                           EXPECT_TRUE(d.HasFocus(IDC_EXECUTE));
                       }}),
                  kStillOpen);
        EXPECT_EQ(browser.calls.size(), 1u);
        if (browser.calls.empty()) return {};
        EXPECT_EQ(browser.calls[0].owner, owner);
        return browser.calls[0];
    }
};

TEST_F(BrowserTest, StartsInThePathsFolderAndTakesTheChosenFile)
{
    FileDialogScript browser(std::string("C:\\chosen\\ソ.xml"));
    const FileDialogCall call = Browse(browser, L"C:\\out\\a.xml", L"C:\\chosen\\ソ.xml");
    EXPECT_EQ(call.title, "保存ファイルを指定");
    EXPECT_EQ(call.filter, "Xml Files (*.xml)|*.xml||");
    EXPECT_EQ(call.defExt, "XML");
    EXPECT_EQ(call.fileName, "a.xml");
    EXPECT_EQ(call.initialDir, "C:\\out\\");
    EXPECT_EQ(call.flags, 0x180Cu);
    EXPECT_EQ(dlg.m_strOutputPath.Bytes(), "C:\\chosen\\ソ.xml");
}

TEST_F(BrowserTest, SplitsAtTheDriveWhenThereIsNoFolderAndKeepsThePathOnCancel)
{
    FileDialogScript browser(std::nullopt);
    const FileDialogCall call = Browse(browser, L"C:a.xml", L"C:a.xml");
    EXPECT_EQ(call.initialDir, "C:");
    EXPECT_EQ(call.fileName, "a.xml");
}

// While the browser is open a second Browse or an Execute is not acted on; a Cancel runs
// once the browser has given its answer, which the dialog then leaves untaken.
TEST_F(BrowserTest, WhileTheBrowserIsOpenNothingElseRuns)
{
    const struct {
        const char* what;
        std::function<void(Dlg&)> meanwhile;
        INT_PTR result;
        std::vector<std::string> texts;
        const wchar_t* endName;  // the file of the path the dialog holds at its end
    } cases[] = {
        {"close", [](Dlg& d) { d.PostClose(); }, kConditionCancel, {kCancelled}, L"a.xml"},
        {"Cancel", [](Dlg& d) { d.PostClick(IDC_CANCEL_BUTTON); }, kConditionCancel, {kCancelled}, L"a.xml"},
        {"Execute", [](Dlg& d) { d.PostClick(IDC_EXECUTE); }, kStillOpen, {}, L"chosen.xml"},
        {"Browse", [](Dlg& d) { d.PostClick(IDC_BROWSE); }, kStillOpen, {}, L"chosen.xml"},
    };
    const std::string chosen = HostFile(L"chosen.xml");
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        ResetOpenCount();
        MessageBoxScript boxes;
        FileDialogScript browser(chosen);
        browser.whileOpen = [&] { row.meanwhile(dlg); };
        EXPECT_EQ(Run({[&](Dlg& d) {
                  d.SetText(IDC_OUTPUT_PATH, Wide(HostFile(L"a.xml")));  // Execute would take it
                  d.PostClick(IDC_BROWSE);
              }}),
                  row.result);
        EXPECT_EQ(boxes.Texts(), row.texts);
        EXPECT_EQ(browser.calls.size(), 1u);
        EXPECT_EQ(MostOpenAtOnce(), 1);
        EXPECT_EQ(dlg.m_strOutputPath.Bytes(), HostFile(row.endName));
    }
}

TEST_F(ConditionDialogTest, ThePathEditTakesNoMoreThan255Cp932Bytes)
{
    EXPECT_EQ(Run({[&](Dlg& d) {
                  const auto typed = [&](const std::wstring& text) {
                      const auto typing = reinterpret_cast<LPARAM>(text.c_str());
                      ::SendMessageW(d.Item(IDC_OUTPUT_PATH), EM_REPLACESEL, TRUE, typing);
                      return d.Text(IDC_OUTPUT_PATH);
                  };
                  d.SetText(IDC_OUTPUT_PATH, L"");
                  const std::wstring kanji(127, L'表');  // 254 bytes
                  EXPECT_EQ(typed(kanji), kanji);
                  EXPECT_EQ(typed(L"表"), kanji) << "a 256th byte is refused";
                  EXPECT_EQ(typed(L"a"), kanji + L"a");
              }}),
              kStillOpen);
}

// A path beyond 255 bytes that the dialog put in itself (a remembered entry, the browser)
// stays there for Execute to refuse: deleting from it is kept, adding to it is refused.
TEST_F(ConditionDialogTest, ALongPathTheDialogPutInCanBeShortenedButNotLengthened)
{
    const std::wstring folder = L"C:\\" + std::wstring(100, L'表') + L"\\";
    const std::wstring remembered = folder + std::wstring(52, L'r') + L".xml";  // 260 bytes
    const std::wstring browsed = folder + std::wstring(79, L'b') + L".xml";     // 287 bytes
    WriteSettings("suzuki/7/12:1/3/" + Cp932(remembered) + "\n");
    FileDialogScript browser(Cp932(browsed));
    const auto edited = [](Dlg& d, const std::wstring& typing) {
        const int end = ::GetWindowTextLengthW(d.Item(IDC_OUTPUT_PATH));
        ::SendMessageW(d.Item(IDC_OUTPUT_PATH), EM_SETSEL, typing.empty() ? end - 1 : end, end);
        ::SendMessageW(d.Item(IDC_OUTPUT_PATH), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(typing.c_str()));
        return d.Text(IDC_OUTPUT_PATH);
    };
    const auto shortened = [](const std::wstring& path) { return path.substr(0, path.size() - 1); };
    EXPECT_EQ(Run({[&](Dlg& d) {
                       EXPECT_EQ(d.Text(IDC_OUTPUT_PATH), remembered);
                       EXPECT_EQ(edited(d, L""), shortened(remembered)) << "Backspace is kept";
                       EXPECT_EQ(edited(d, L"x"), shortened(remembered)) << "typing is refused";
                       d.PostClick(IDC_BROWSE);
                   },
                   [&](Dlg& d) {
                       EXPECT_EQ(d.Text(IDC_OUTPUT_PATH), browsed);
                       EXPECT_EQ(edited(d, L""), shortened(browsed));
                       EXPECT_EQ(edited(d, L""), shortened(shortened(browsed)));
                       EXPECT_EQ(edited(d, L"表"), shortened(shortened(browsed)));
                   }}),
              kStillOpen);
}

TEST_F(ConditionDialogTest, ATypedCharacterWithoutCp932FormIsRefusedNotTurnedIntoAQuestionMark)
{
    MessageBoxScript boxes;
    EXPECT_EQ(Run({[&](Dlg& d) {
                       d.SetText(IDC_OUTPUT_PATH, host.Path() + L"\\caf\u00e9.xml");  // no é in CP932
                       d.PostClick(IDC_EXECUTE);
                   }}),
              kStillOpen);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kRefusedChars});
}

}  // namespace
