#pragma once
// The modal "科目内訳書 - 集計条件" dialog in which the user sets the month range, the tax
// treatment and the output file of a run.

#include <cstdint>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/String.h"

// The dialog's end codes: its own Execute and Cancel buttons.
enum ConditionDlgResult : int {
    kConditionExecute = 1002,
    kConditionCancel = 1003,
};

class CConditionDlg : public CDialog {
public:
    explicit CConditionDlg(CWnd* parent = nullptr);

    BOOL ReadLastConditions(int16_t* taxIncluded, int16_t* toMonth, char* path);
    BOOL WriteLastConditions(int16_t taxIncluded, int16_t toMonth, const char* path);

    CStatic m_stToMonthLabel;
    CButton m_grpOutput;
    CEdit m_edToMonth;
    CEdit m_edOutputPath;
    CButton m_chkTaxIncluded;
    CButton m_btnBrowse;
    CButton m_btnExecute;
    CButton m_btnCancel;
    CString m_strPeriod;
    CString m_strCompany;
    CString m_strOutputPath;
    CString m_strToMonth;
    CString m_strFromMonth;
    int16_t m_nTaxIncluded = 0;
    long m_nSelectNo1;    // set by the run before the dialog is shown
    long m_nSelectNo2;
    long m_nPeriodStart;
    long m_nPeriodEnd;
    int m_bPastData;
    CString m_strHostPath;
    char m_szUserId[65];
    int m_bFixedPath = 0;
    char m_szSavedPath[261];

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnExecute();

    DECLARE_MESSAGE_MAP()
};
