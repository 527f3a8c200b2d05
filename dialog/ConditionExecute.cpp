// Execute: the month range, then the output path in a fixed order, with the questions
// before a folder is created or a file overwritten. The dialog ends with Execute only when
// every check has passed.
#include <cstdlib>

#include "aggregate/PeriodMonths.h"
#include "dialog/ConditionDlg.h"
#include "dialog/ConditionMessages.h"
#include "dialog/MonthRange.h"
#include "dialog/PathFunctions.h"
#include "framework/File.h"
#include "framework/Folders.h"

namespace msg = condition_messages;

namespace {

constexpr int kPathMaxBytes = 255;
constexpr UINT kRefusal = MB_ICONEXCLAMATION | MB_OK;
constexpr UINT kQuestion = MB_ICONQUESTION | MB_YESNO;

}  // namespace

// The dialog ends with the conditions its controls hold when the checks end. The path or the
// month may change while a question is open (typed, or set by another program): then the checks
// run again from the start, so that only a file the user was asked about is replaced.
int CConditionDlg::Execute()
{
    for (;;) {
        TakeControls();
        const CString checkedPath = m_strOutputPath;
        const CString checkedMonth = m_strToMonth;
        if (!AreConditionsAccepted() || !CanGoOn()) return 0;
        TakeControls();
        if (m_strOutputPath == checkedPath && m_strToMonth == checkedMonth) return kConditionExecute;
    }
}

BOOL CConditionDlg::AreConditionsAccepted()
{
    if (!IsMonthRangeValid()) {
        ShowMessage(msg::kMonthRange, kRefusal);
        FocusToMonth();
        return FALSE;
    }
    if (!IsOutputPathAccepted()) return FALSE;

    CFileStatus status;
    if (!m_bFixedPath && CFile::GetStatus(m_strOutputPath, status)) {
        if (status.m_attribute & FILE_ATTRIBUTE_DIRECTORY) {
            ShowMessage(msg::kNoFileName, kRefusal);
            FocusOutputPath();
            return FALSE;
        }
        if (ShowMessage(msg::kOverwrite, kQuestion) != IDYES) {
            FocusOutputPath();
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CConditionDlg::IsMonthRangeValid() const
{
    short first = 0;
    short last = 0;
    CalcPeriodMonths(m_nPeriodStart, m_nPeriodEnd, &first, &last);
    return IsMonthRangeAccepted(std::atol(m_strFromMonth), std::atol(m_strToMonth), first, last);
}

// The checks of the path itself and of its folder; each refusal has shown its message.
BOOL CConditionDlg::IsOutputPathAccepted()
{
    if (m_strOutputPath.IsEmpty()) {
        if (ShowMessage(msg::kNoPath, kRefusal) == IDOK) Browse();
        return FALSE;
    }
    // A character without a CP932 form reads as '?' in the member: the edit tells.
    CString exactText;
    const bool hasCp932Form = m_edOutputPath.GetWindowText(exactText);
    const char* refusal = nullptr;
    if (m_strOutputPath.GetLength() > kPathMaxBytes) refusal = msg::kPathTooLong;
    else if (!hasCp932Form || !IsValidPathChars(m_strOutputPath)) refusal = msg::kRefusedChars;
    else if (!IsValidDrive(m_strOutputPath)) refusal = msg::kBadDrive;
    else if (GetFileNamePart(m_strOutputPath).IsEmpty()) refusal = msg::kNoFileName;
    if (refusal != nullptr) {
        ShowMessage(refusal, kRefusal);
        FocusOutputPath();
        return FALSE;
    }
    return ConfirmOutputFolder();
}

// A missing folder is created, with every level above it, when the user agrees.
BOOL CConditionDlg::ConfirmOutputFolder()
{
    const CString folder = GetFolderPart(m_strOutputPath);
    if (folder.IsEmpty() || IsAccessible(folder, 0)) return TRUE;
    if (ShowMessage(msg::kCreateFolder, kQuestion) != IDYES) {
        FocusOutputPath();
        return FALSE;
    }
    if (!CreateFolderTree(folder)) {
        ShowMessage(msg::kCreateFailed, kRefusal);
        FocusOutputPath();
        return FALSE;
    }
    return TRUE;
}
