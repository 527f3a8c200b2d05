// The real dialog templates, created from the resources linked into this test program.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/CodePage.h"
#include "res/Version.h"
#include "res/resource.h"

namespace {

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A dialog created from one of the program's templates, destroyed with the object.
class TemplateDialog {
public:
    explicit TemplateDialog(int templateId)
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        hwnd_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId),
                                   nullptr, PassiveDialogProc, 0);
    }
    ~TemplateDialog()
    {
        if (hwnd_ != nullptr)
            DestroyWindow(hwnd_);
    }
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;

    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    LONG_PTR ItemStyle(int id) const { return GetWindowLongPtrW(Item(id), GWL_STYLE); }

private:
    HWND hwnd_ = nullptr;
};

std::string TextOf(HWND hwnd)
{
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    std::string text;
    EXPECT_TRUE(Cp932FromWide(buffer, text)) << "text without a code page 932 form";
    return text;
}

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::vector<HWND> ChildrenOf(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// A control's rectangle in the dialog's client coordinates.
RECT PlacementOf(HWND dialog, HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b)
{
    RECT common;
    return IntersectRect(&common, &a, &b) != FALSE;
}

// The face name and point size of the font a dialog was created with.
void ExpectDialogFont(HWND dialog)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW face{};
    ASSERT_NE(GetObjectW(font, sizeof face, &face), 0);
    std::string name;
    Cp932FromWide(face.lfFaceName, name);
    EXPECT_EQ(name, "ＭＳ Ｐゴシック");
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(face.lfHeight, -MulDiv(9, pixelsPerInch, 72));
}

// A control drawn with a frame has a non-client area around its client area.
bool HasFrame(HWND control)
{
    RECT window{};
    RECT client{};
    GetWindowRect(control, &window);
    GetClientRect(control, &client);
    return window.right - window.left > client.right && window.bottom - window.top > client.bottom;
}

struct ControlExpectation {
    int id;
    const wchar_t* className;
    LONG kind;  // the BS_/SS_ type bits; -1 for edits
    const char* text;
    bool tabStop;
    bool group;
};

// What the user sees and what the dialog code relies on, control by control.
const ControlExpectation kConditionControls[] = {
    {IDC_COMPANY_LABEL, L"Static", SS_LEFT, "事業所名", false, true},
    {IDC_COMPANY, L"Static", SS_LEFT, " 会社名", false, false},
    {IDC_PERIOD_LABEL, L"Static", SS_LEFT, "会計期間", false, true},
    {IDC_PERIOD, L"Static", SS_LEFT, " 2002/01/11～2002/12/31", false, false},
    {IDC_RANGE_LABEL, L"Static", SS_LEFT, "集計期間", false, true},
    {IDC_FROM_MONTH_UNIT, L"Static", SS_LEFT, "月度", false, false},
    {IDC_FROM_MONTH, L"Static", SS_RIGHT, "??", false, false},
    {IDC_RANGE_SIGN, L"Static", SS_CENTER, "～", false, false},
    {IDC_TO_MONTH_LABEL, L"Static", SS_LEFT, "月度(&E)", false, false},
    {IDC_TO_MONTH, L"Edit", -1, "", true, false},
    {IDC_TAX_INCLUDED, L"Button", BS_AUTOCHECKBOX, "税込みで集計する。(&Z)", true, true},
    {IDC_OUTPUT_GROUP, L"Button", BS_GROUPBOX, "出力先(&O)", false, true},
    {IDC_OUTPUT_PATH, L"Edit", -1, "", true, false},
    {IDC_BROWSE, L"Button", BS_PUSHBUTTON, "参照(&D)...", true, false},
    {IDC_EXECUTE, L"Button", BS_PUSHBUTTON, "実行(F12)", true, true},
    {IDC_CANCEL_BUTTON, L"Button", BS_PUSHBUTTON, "キャンセル(Esc)", true, true},
};

// Started without an owner, a dialog comes up in the middle of the screen, not in its corner.
void ExpectCentredOnTheScreen(HWND window)
{
    RECT work{};
    RECT rect{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    ASSERT_TRUE(GetWindowRect(window, &rect));
    EXPECT_NEAR((rect.left + rect.right) / 2, (work.left + work.right) / 2, 2);
    EXPECT_NEAR((rect.top + rect.bottom) / 2, (work.top + work.bottom) / 2, 2);
}

TEST(ConditionTemplate, IsAHiddenFixedSizeWindowWithCloseBox)
{
    TemplateDialog dialog(IDD_CONDITION);
    ASSERT_NE(dialog.Handle(), nullptr);
    const LONG_PTR style = GetWindowLongPtrW(dialog.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & DS_MODALFRAME);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
    EXPECT_EQ(TextOf(dialog.Handle()), "科目内訳書 - 集計条件");
    ExpectDialogFont(dialog.Handle());
    ExpectCentredOnTheScreen(dialog.Handle());
}

TEST(ConditionTemplate, ControlsHaveTheirKindsTextsAndTabGroups)
{
    TemplateDialog dialog(IDD_CONDITION);
    ASSERT_NE(dialog.Handle(), nullptr);
    for (const ControlExpectation& expected : kConditionControls) {
        SCOPED_TRACE(expected.id);
        HWND control = dialog.Item(expected.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassOf(control), expected.className);
        const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
        if (expected.kind >= 0) {
            const LONG typeMask = expected.className == std::wstring(L"Static") ? SS_TYPEMASK
                                                                                : BS_TYPEMASK;
            EXPECT_EQ(style & typeMask, expected.kind);
        }
        EXPECT_EQ(TextOf(control), expected.text);
        EXPECT_EQ((style & WS_TABSTOP) != 0, expected.tabStop);
        EXPECT_EQ((style & WS_GROUP) != 0, expected.group);
        EXPECT_TRUE(style & WS_VISIBLE);
        EXPECT_FALSE(style & WS_DISABLED);
    }
}

TEST(ConditionTemplate, LabelsAreVerticallyCentredBesideTheirSeparators)
{
    TemplateDialog dialog(IDD_CONDITION);
    ASSERT_NE(dialog.Handle(), nullptr);
    for (int id : {IDC_COMPANY_LABEL, IDC_COMPANY, IDC_PERIOD_LABEL, IDC_PERIOD,
                   IDC_RANGE_LABEL, IDC_FROM_MONTH_UNIT, IDC_FROM_MONTH, IDC_TO_MONTH_LABEL})
        EXPECT_TRUE(dialog.ItemStyle(id) & SS_CENTERIMAGE) << id;

    // The three "：" separators carry no id of their own.
    int separators = 0;
    for (HWND child : ChildrenOf(dialog.Handle())) {
        if (GetDlgCtrlID(child) != IDC_STATIC)
            continue;
        ++separators;
        EXPECT_EQ(TextOf(child), "：");
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        EXPECT_EQ(style & SS_TYPEMASK, SS_RIGHT);
        EXPECT_TRUE(style & WS_GROUP);
    }
    EXPECT_EQ(separators, 3);
    EXPECT_EQ(ChildrenOf(dialog.Handle()).size(), std::size(kConditionControls) + 3);
}

// The company name and the period are the host's texts: an "&" in a name is shown as it is,
// not taken as a mnemonic. The labels keep theirs.
TEST(ConditionTemplate, HostTextsAreShownAsTheHostHoldsThem)
{
    TemplateDialog dialog(IDD_CONDITION);
    ASSERT_NE(dialog.Handle(), nullptr);
    for (int id : {IDC_COMPANY, IDC_PERIOD}) EXPECT_TRUE(dialog.ItemStyle(id) & SS_NOPREFIX) << id;
    EXPECT_FALSE(dialog.ItemStyle(IDC_TO_MONTH_LABEL) & SS_NOPREFIX);
}

TEST(ConditionTemplate, EnterAndEscapeAreLeftToTheDialogCode)
{
    // A default push button or an IDOK/IDCANCEL control would make the dialog manager end
    // the dialog on Enter or Esc behind the Execute checks.
    TemplateDialog dialog(IDD_CONDITION);
    ASSERT_NE(dialog.Handle(), nullptr);
    EXPECT_EQ(GetDlgItem(dialog.Handle(), IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(dialog.Handle(), IDCANCEL), nullptr);
    for (HWND child : ChildrenOf(dialog.Handle())) {
        if (ClassOf(child) != L"Button")
            continue;
        const LONG_PTR type = GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK;
        EXPECT_NE(type, BS_DEFPUSHBUTTON) << GetDlgCtrlID(child);
        EXPECT_FALSE(SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
            << GetDlgCtrlID(child);
    }
}

TEST(ConditionTemplate, TabOrderRunsFromToMonthToCancelAndRoundAgain)
{
    TemplateDialog dialog(IDD_CONDITION);
    ASSERT_NE(dialog.Handle(), nullptr);
    const int expected[] = {IDC_TAX_INCLUDED, IDC_OUTPUT_PATH, IDC_BROWSE,
                            IDC_EXECUTE,      IDC_CANCEL_BUTTON, IDC_TO_MONTH};
    HWND current = dialog.Item(IDC_TO_MONTH);
    for (int id : expected) {
        current = GetNextDlgTabItem(dialog.Handle(), current, FALSE);
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(GetDlgCtrlID(current), id);
    }
    // Shift+Tab from the to-month goes back to Cancel.
    EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(dialog.Handle(), dialog.Item(IDC_TO_MONTH), TRUE)),
              IDC_CANCEL_BUTTON);
}

TEST(ConditionTemplate, MnemonicOfTheToMonthLabelReachesTheToMonthEdit)
{
    // The dialog manager gives a static's mnemonic to the control that follows it.
    TemplateDialog dialog(IDD_CONDITION);
    ASSERT_NE(dialog.Handle(), nullptr);
    EXPECT_EQ(GetWindow(dialog.Item(IDC_TO_MONTH_LABEL), GW_HWNDNEXT), dialog.Item(IDC_TO_MONTH));
    // And the output path follows its group box, whose mnemonic the path edit receives.
    EXPECT_EQ(GetWindow(dialog.Item(IDC_OUTPUT_GROUP), GW_HWNDNEXT),
              dialog.Item(IDC_OUTPUT_PATH));
}

TEST(ConditionTemplate, ToMonthEditTakesDigitsOnly)
{
    TemplateDialog dialog(IDD_CONDITION);
    ASSERT_NE(dialog.Handle(), nullptr);
    HWND toMonth = dialog.Item(IDC_TO_MONTH);
    EXPECT_TRUE(dialog.ItemStyle(IDC_TO_MONTH) & ES_NUMBER);
    EXPECT_TRUE(dialog.ItemStyle(IDC_TO_MONTH) & ES_RIGHT);
    for (wchar_t c : {L'1', L'a', L'-', L'2'})
        SendMessageW(toMonth, WM_CHAR, c, 1);
    EXPECT_EQ(TextOf(toMonth), "12");

    // The output path takes any text.
    HWND path = dialog.Item(IDC_OUTPUT_PATH);
    EXPECT_FALSE(dialog.ItemStyle(IDC_OUTPUT_PATH) & ES_NUMBER);
    for (wchar_t c : {L'C', L':', L'\\', L'a'})
        SendMessageW(path, WM_CHAR, c, 1);
    EXPECT_EQ(TextOf(path), "C:\\a");

    for (int id : {IDC_TO_MONTH, IDC_OUTPUT_PATH}) {
        EXPECT_TRUE(HasFrame(dialog.Item(id))) << id;
        EXPECT_TRUE(dialog.ItemStyle(id) & ES_AUTOHSCROLL) << id;
    }
}

TEST(ConditionTemplate, TaxCheckBoxTogglesItselfOnClick)
{
    TemplateDialog dialog(IDD_CONDITION);
    ASSERT_NE(dialog.Handle(), nullptr);
    HWND box = dialog.Item(IDC_TAX_INCLUDED);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST(ConditionTemplate, LayoutKeepsControlsApartAndInsideTheWindow)
{
    TemplateDialog dialog(IDD_CONDITION);
    ASSERT_NE(dialog.Handle(), nullptr);
    RECT client{};
    GetClientRect(dialog.Handle(), &client);
    RECT templateSize{0, 0, 255, 157};
    MapDialogRect(dialog.Handle(), &templateSize);
    EXPECT_EQ(client.right, templateSize.right);
    EXPECT_EQ(client.bottom, templateSize.bottom);

    const std::vector<HWND> children = ChildrenOf(dialog.Handle());
    for (HWND child : children)
        EXPECT_TRUE(Contains(client, PlacementOf(dialog.Handle(), child))) << GetDlgCtrlID(child);

    const RECT group = PlacementOf(dialog.Handle(), dialog.Item(IDC_OUTPUT_GROUP));
    EXPECT_TRUE(Contains(group, PlacementOf(dialog.Handle(), dialog.Item(IDC_OUTPUT_PATH))));
    EXPECT_TRUE(Contains(group, PlacementOf(dialog.Handle(), dialog.Item(IDC_BROWSE))));

    // Nothing covers a control the user works with (the group box only frames them).
    for (size_t i = 0; i < children.size(); ++i) {
        for (size_t j = i + 1; j < children.size(); ++j) {
            const int a = GetDlgCtrlID(children[i]);
            const int b = GetDlgCtrlID(children[j]);
            const bool interactive = (GetWindowLongPtrW(children[i], GWL_STYLE) & WS_TABSTOP) ||
                                     (GetWindowLongPtrW(children[j], GWL_STYLE) & WS_TABSTOP);
            if (!interactive || a == IDC_OUTPUT_GROUP || b == IDC_OUTPUT_GROUP)
                continue;
            EXPECT_FALSE(Overlap(PlacementOf(dialog.Handle(), children[i]),
                                 PlacementOf(dialog.Handle(), children[j])))
                << a << " overlaps " << b;
        }
    }
}

TEST(ProgressTemplate, IsAHiddenSystemModalWindowWithoutCloseBox)
{
    TemplateDialog dialog(IDD_PROGRESS);
    ASSERT_NE(dialog.Handle(), nullptr);
    const LONG_PTR style = GetWindowLongPtrW(dialog.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & DS_MODALFRAME);
    EXPECT_FALSE(style & WS_SYSMENU);
    EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
    // System-modal keeps it in front of the host's windows during the run.
    EXPECT_TRUE(style & DS_SYSMODAL);
    EXPECT_EQ(TextOf(dialog.Handle()), "集計中");
    ExpectDialogFont(dialog.Handle());
    ExpectCentredOnTheScreen(dialog.Handle());
    EXPECT_EQ(ChildrenOf(dialog.Handle()).size(), 2u);
}

TEST(ProgressTemplate, MainBarIsSmoothAndTheActivityBarSegmented)
{
    TemplateDialog dialog(IDD_PROGRESS);
    ASSERT_NE(dialog.Handle(), nullptr);
    for (int id : {IDC_PROGRESS_MAIN, IDC_PROGRESS_TICK}) {
        HWND bar = dialog.Item(id);
        ASSERT_NE(bar, nullptr) << id;
        EXPECT_EQ(ClassOf(bar), L"msctls_progress32");
    }
    EXPECT_TRUE(dialog.ItemStyle(IDC_PROGRESS_MAIN) & PBS_SMOOTH);
    EXPECT_FALSE(dialog.ItemStyle(IDC_PROGRESS_TICK) & PBS_SMOOTH);

    // The main bar sits above the thin one, both inside the window.
    RECT client{};
    GetClientRect(dialog.Handle(), &client);
    const RECT main = PlacementOf(dialog.Handle(), dialog.Item(IDC_PROGRESS_MAIN));
    const RECT tick = PlacementOf(dialog.Handle(), dialog.Item(IDC_PROGRESS_TICK));
    EXPECT_TRUE(Contains(client, main));
    EXPECT_TRUE(Contains(client, tick));
    EXPECT_LE(main.bottom, tick.top);
    EXPECT_GT(main.bottom - main.top, tick.bottom - tick.top);
}

TEST(ProgramResources, VersionStringIsTheProgramVersion)
{
    wchar_t text[32] = {};
    ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), IDS_PROGRAM_VERSION, text, 32), 0);
    EXPECT_STREQ(text, L"" BRIDGE_VERSION_TEXT);
}

}  // namespace
