// The browse button: the system's save-file dialog, starting in the folder and with the
// file name of the path in the edit.
#include <windows.h>

#include <commdlg.h>

#include "dialog/ConditionDlg.h"
#include "dialog/ConditionMessages.h"
#include "dialog/PathFunctions.h"
#include "framework/FileDialog.h"

namespace {

constexpr char kTitle[] = "保存ファイルを指定";
constexpr char kFilter[] = "Xml Files (*.xml)|*.xml||";
constexpr char kDefaultExtension[] = "XML";
// No read-only box, the current folder left as it is, and the folder typed must exist.
constexpr DWORD kFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

}  // namespace

int CConditionDlg::Browse()
{
    UpdateData(TRUE);
    CString folder = GetFolderPart(m_strOutputPath);
    CString fileName = GetFileNamePart(m_strOutputPath);
    if (folder.IsEmpty()) {
        folder = GetDrivePart(m_strOutputPath);
        fileName = GetAfterDrivePart(m_strOutputPath);
    }

    CFileDialog dialog(FALSE, kDefaultExtension, fileName, kFlags, kFilter, this);
    dialog.SetTitle(kTitle);
    dialog.SetInitialDir(folder);
    // A Cancel, an end or the host's going while the browser was open leaves the path alone.
    if (dialog.DoModal() == IDOK && CanGoOn()) {
        if (dialog.IsPathNameExact()) {
            m_strOutputPath = dialog.GetPathName();
            LoadControls();
        } else {
            // The name cannot be written in the program's code page; the path stays as it was.
            ShowMessage(condition_messages::kRefusedChars, MB_ICONEXCLAMATION | MB_OK);
        }
    }
    GotoDlgCtrl(&m_btnExecute);
    return 0;
}
