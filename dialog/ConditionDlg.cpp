#include "dialog/ConditionDlg.h"

#include <cstring>

#include "framework/DataExchange.h"
#include "res/resource.h"

CConditionDlg::CConditionDlg(CWnd* parent) : CDialog(IDD_CONDITION, parent)
{
    std::memset(m_szSavedPath, 0, sizeof m_szSavedPath);
}

BEGIN_MESSAGE_MAP(CConditionDlg, CDialog)
    ON_BN_CLICKED(IDC_EXECUTE, &CConditionDlg::OnExecute)
    ON_BN_CLICKED(IDC_CANCEL_BUTTON, &CConditionDlg::OnCancel)
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

// The remembered conditions, the default months and path and the Execute checks come with
// the rest of the dialog; for now it shows the company and period and hands back what the
// user typed.
BOOL CConditionDlg::OnInitDialog()
{
    return CDialog::OnInitDialog();
}

void CConditionDlg::OnExecute()
{
    UpdateData(TRUE);
    EndDialog(kConditionExecute);
}

void CConditionDlg::OnCancel()
{
    EndDialog(kConditionCancel);
}

BOOL CConditionDlg::ReadLastConditions(int16_t* /*taxIncluded*/, int16_t* /*toMonth*/, char* /*path*/)
{
    return FALSE;
}

BOOL CConditionDlg::WriteLastConditions(int16_t /*taxIncluded*/, int16_t /*toMonth*/,
                                        const char* /*path*/)
{
    return FALSE;
}
