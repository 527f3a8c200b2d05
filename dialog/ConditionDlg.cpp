#include "dialog/ConditionDlg.h"

#include <string_view>

#include "aggregate/PeriodMonths.h"
#include "dialog/DefaultConditions.h"
#include "dialog/LastConditionsStore.h"
#include "dialog/PathFunctions.h"
#include "framework/CodePage.h"
#include "framework/DataExchange.h"
#include "res/Caption.h"
#include "res/resource.h"

namespace {

constexpr int kPathEditMaxBytes = 255;

bool IsModifierHeld()
{
    return ::GetKeyState(VK_SHIFT) < 0 || ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0;
}

}  // namespace

CConditionDlg::CConditionDlg(LastConditionsStore& lastConditions, CWnd* parent)
    : CDialog(IDD_CONDITION, parent), m_lastConditions(lastConditions)
{
}

BEGIN_MESSAGE_MAP(CConditionDlg, CDialog)
    ON_BN_CLICKED(IDC_EXECUTE, &CConditionDlg::OnExecute)
    ON_BN_CLICKED(IDC_BROWSE, &CConditionDlg::OnBrowse)
    ON_WM_DESTROY()
    ON_BN_CLICKED(IDC_CANCEL_BUTTON, &CConditionDlg::OnCancel)
    ON_BN_CLICKED(IDC_TAX_INCLUDED, &CConditionDlg::OnTaxCheck)
    ON_COMMAND_NOTIFY(EN_CHANGE, IDC_OUTPUT_PATH, &CConditionDlg::OnOutputPathChange)
END_MESSAGE_MAP()

void CConditionDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TO_MONTH_LABEL, m_stToMonthLabel);
    DDX_Control(pDX, IDC_OUTPUT_GROUP, m_grpOutput);
    DDX_Control(pDX, IDC_TO_MONTH, m_edToMonth);
    DDX_Control(pDX, IDC_OUTPUT_PATH, m_edOutputPath);
    DDX_Control(pDX, IDC_TAX_INCLUDED, m_chkTaxIncluded);
    DDX_Control(pDX, IDC_BROWSE, m_btnBrowse);
    DDX_Control(pDX, IDC_EXECUTE, m_btnExecute);
    DDX_Control(pDX, IDC_CANCEL_BUTTON, m_btnCancel);
    DDX_Text(pDX, IDC_PERIOD, m_strPeriod);
    DDX_Text(pDX, IDC_COMPANY, m_strCompany);
    DDX_Text(pDX, IDC_OUTPUT_PATH, m_strOutputPath);
    DDX_Text(pDX, IDC_TO_MONTH, m_strToMonth);
    DDV_MaxChars(pDX, m_strToMonth, 2);
    DDX_Text(pDX, IDC_FROM_MONTH, m_strFromMonth);
}

BOOL CConditionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_bCancelPending = false;
    if (m_bPastData == 1) {
        RunAlone(&CConditionDlg::RefusePastData);
        return TRUE;
    }
    m_edOutputPath.LimitText(kPathEditMaxBytes);

    short fromMonth = 0;
    short toMonth = 0;
    int16_t taxIncluded = 0;
    CString workingPath;
    char storedPath[kPathBufferSize] = {};
    int16_t storedToMonth = 0;
    if (m_lastConditions.Read(&taxIncluded, &storedToMonth, storedPath, sizeof storedPath)) {
        toMonth = storedToMonth;
        workingPath = storedPath;
    } else {
        short lastMonth = 0;
        CalcPeriodMonths(m_nPeriodStart, m_nPeriodEnd, &fromMonth, &lastMonth);
        toMonth = static_cast<short>(lastMonth % 100);
        taxIncluded = ReadTaxSetting();
    }
    if (workingPath.IsEmpty()) workingPath = DefaultOutputPath();

    m_bFixedPath = m_strHostPath.IsEmpty() ? 0 : 1;
    if (m_bFixedPath) {
        m_strOutputPath = m_strHostPath;
        m_edOutputPath.EnableWindow(FALSE);
        m_btnBrowse.EnableWindow(FALSE);
        m_grpOutput.SetWindowText("出力先");
    } else {
        m_strOutputPath = workingPath;
    }

    if (fromMonth == 0) CalcPeriodMonths(m_nPeriodStart, m_nPeriodEnd, &fromMonth, nullptr);
    m_strFromMonth.Format("%d", fromMonth);
    m_strToMonth.Format("%d", toMonth);

    m_nTaxIncluded = taxIncluded != 0 ? 1 : 0;
    m_chkTaxIncluded.SetCheck(m_nTaxIncluded ? BST_CHECKED : BST_UNCHECKED);
    LoadControls();
    return TRUE;  // the focus goes to the first tab stop, the to-month
}

BOOL CConditionDlg::PreTranslateMessage(MSG* message)
{
    if (message->message == WM_KEYDOWN && !IsModifierHeld()) {
        if (message->wParam == VK_RETURN && HandleEnter(message->hwnd)) return TRUE;
        if (message->wParam == VK_F12) {
            OnExecute();
            return TRUE;
        }
    }
    return CDialog::PreTranslateMessage(message);
}

// Enter moves through the dialog in its order and presses the buttons it lands on; on
// Cancel it is left to the platform.
BOOL CConditionDlg::HandleEnter(HWND target)
{
    if (target == m_edToMonth.m_hWnd) {
        GotoDlgCtrl(&m_chkTaxIncluded);
    } else if (target == m_chkTaxIncluded.m_hWnd) {
        if (m_btnBrowse.IsWindowEnabled()) FocusOutputPath();
        else GotoDlgCtrl(&m_btnExecute);
    } else if (target == m_edOutputPath.m_hWnd) {
        GotoDlgCtrl(m_btnBrowse.IsWindowEnabled() ? static_cast<CWnd*>(&m_btnBrowse) : &m_btnExecute);
    } else if (target == m_btnBrowse.m_hWnd) {
        OnBrowse();
    } else if (target == m_btnExecute.m_hWnd) {
        OnExecute();
    } else {
        return FALSE;
    }
    return TRUE;
}

void CConditionDlg::OnTaxCheck()
{
    m_nTaxIncluded = static_cast<int16_t>(m_chkTaxIncluded.GetCheck() == BST_CHECKED ? 1 : 0);
}

// An edit that takes the path past 255 CP932 bytes and makes it longer is taken back, as a
// narrow edit control refuses the input. An edit that shortens it is always kept, so that a
// longer path the dialog loaded itself (left to Execute to judge) can be cut down.
void CConditionDlg::OnOutputPathChange()
{
    if (m_bRestoringPath) return;  // the notification of the handler's own undo
    CString text;
    m_edOutputPath.GetWindowText(text);
    if (m_bLoadingControls || text.GetLength() <= kPathEditMaxBytes ||
        text.GetLength() <= m_strPathBeforeEdit.GetLength()) {
        m_strPathBeforeEdit = text;
        return;
    }
    // The caret goes back to where the refused input began.
    const std::string_view before = m_strPathBeforeEdit.Bytes();
    const std::string_view after = text.Bytes();
    size_t common = 0;
    for (size_t length; (length = Cp932CharLength(before, common)) > 0 &&
                        before.substr(common, length) == after.substr(common, length);)
        common += length;
    const int caret = static_cast<int>(WideFromCp932(before.substr(0, common)).size());
    m_bRestoringPath = true;
    m_edOutputPath.SetWindowText(m_strPathBeforeEdit);
    m_bRestoringPath = false;
    m_edOutputPath.SetSel(caret, caret);
}

void CConditionDlg::LoadControls()
{
    m_bLoadingControls = true;
    UpdateData(FALSE);
    m_bLoadingControls = false;
}

void CConditionDlg::FocusOutputPath()
{
    GotoDlgCtrl(&m_edOutputPath);
    m_edOutputPath.SetSel(0, -1);
}

void CConditionDlg::FocusToMonth()
{
    GotoDlgCtrl(&m_edToMonth);
    m_edToMonth.SetSel(0, -1);
}

// The box's loop hands the dialog whatever comes meanwhile: a Cancel or close (kept for later),
// or the host's going, which takes the dialog with it. The command that asked then takes no
// further step: no folder made, no browser opened.
int CConditionDlg::ShowMessage(const char* text, UINT type)
{
    const int answer = MessageBox(text, kMessageCaption, type);
    return CanGoOn() ? answer : 0;
}

bool CConditionDlg::CanGoOn() const
{
    return IsWindow() && !IsEndRequested() && !m_bCancelPending;
}

// The controls' values. A path fixed by the host is the output whatever the disabled path box
// holds: another program can still set its text.
void CConditionDlg::TakeControls()
{
    UpdateData(TRUE);
    if (m_bFixedPath && !(m_strOutputPath == m_strHostPath)) {
        m_strOutputPath = m_strHostPath;
        LoadControls();
    }
}
