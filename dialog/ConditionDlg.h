#pragma once
// The modal "科目内訳書 - 集計条件" dialog in which the user sets the month range, the tax
// treatment and the output file of a run.

#include <cstdint>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/String.h"

class LastConditionsStore;

// The dialog's end codes: its own Execute and Cancel buttons.
enum ConditionDlgResult : int {
    kConditionExecute = 1002,
    kConditionCancel = 1003,
};

class CConditionDlg : public CDialog {
public:
    // The dialog starts from the conditions `lastConditions` remembers; the store is not owned.
    explicit CConditionDlg(LastConditionsStore& lastConditions, CWnd* parent = nullptr);

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
    long m_nPeriodStart = 0;    // set by the run before the dialog is shown
    long m_nPeriodEnd = 0;
    int m_bPastData = 0;
    CString m_strHostPath;
    int m_bFixedPath = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* message) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    // Enter that the key handling leaves to the platform must not end the dialog unchecked.
    void OnOK() override {}

    afx_msg void OnExecute();
    afx_msg void OnBrowse();
    afx_msg void OnTaxCheck();
    afx_msg void OnOutputPathChange();

    DECLARE_MESSAGE_MAP()

private:
    // A command's work; it returns the end it chose (kConditionExecute, kConditionCancel) or
    // 0 when the dialog stays.
    using Command = int (CConditionDlg::*)();
    void RunAlone(Command command);
    int RunBusy(Command command);
    int Execute();
    int Browse();
    int NoticeCancel();
    int RefusePastData();

    // A command goes on after a message box or the browser only while the dialog is still
    // there, no end was asked and no Cancel waits.
    bool CanGoOn() const;
    void TakeControls();
    BOOL HandleEnter(HWND target);
    BOOL AreConditionsAccepted();
    BOOL IsMonthRangeValid() const;
    BOOL IsOutputPathAccepted();
    BOOL ConfirmOutputFolder();
    void LoadControls();
    void FocusOutputPath();
    void FocusToMonth();
    // The answer, or 0 (neither OK nor Yes) when the command must stop there (CanGoOn).
    int ShowMessage(const char* text, UINT type);

    LastConditionsStore& m_lastConditions;
    // The path edit holds at most 255 CP932 bytes: its text before the last edit.
    CString m_strPathBeforeEdit;
    bool m_bLoadingControls = false;
    bool m_bRestoringPath = false;
    // A command is under way. Its message boxes and the browser run loops of their own, which
    // hand the dialog whatever is posted to it meanwhile (being disabled stops only input).
    bool m_bBusy = false;
    bool m_bCancelPending = false;  // a Cancel came while a command was under way
};
