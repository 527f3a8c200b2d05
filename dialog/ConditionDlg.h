#pragma once
// The modal "科目内訳書 - 集計条件" dialog in which the user sets the month range, the tax
// treatment and the output file of a run.

#include <cstddef>
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

    // The user's remembered conditions (tax flag, to-month, output path into `path` of
    // `pathSize` bytes); FALSE, with nothing written, when there is no usable entry.
    BOOL ReadLastConditions(int16_t* taxIncluded, int16_t* toMonth, char* path, size_t pathSize);
    // Remembers the conditions of a successful run; a null path keeps the stored one.
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
    long m_nSelectNo1 = 0;    // set by the run before the dialog is shown
    long m_nSelectNo2 = 0;
    long m_nPeriodStart = 0;
    long m_nPeriodEnd = 0;
    int m_bPastData = 0;
    CString m_strHostPath;
    char m_szUserId[65] = {};
    int m_bFixedPath = 0;
    char m_szSavedPath[261];

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

    BOOL HandleEnter(HWND target);
    CString LastConditionsKey() const;
    BOOL AreConditionsAccepted();
    BOOL IsMonthRangeValid() const;
    BOOL IsOutputPathAccepted();
    BOOL ConfirmOutputFolder();
    void LoadControls();
    void FocusOutputPath();
    void FocusToMonth();
    int ShowMessage(const char* text, UINT type);

    // The path edit holds at most 255 CP932 bytes: its text before the last edit.
    CString m_strPathBeforeEdit;
    bool m_bLoadingControls = false;
    bool m_bRestoringPath = false;
    // A command is under way. Its message boxes and the browser run loops of their own, which
    // hand the dialog whatever is posted to it meanwhile (being disabled stops only input).
    bool m_bBusy = false;
    bool m_bCancelPending = false;  // a Cancel came while a command was under way
};
