#include "framework/FileDialog.h"

#include <commdlg.h>

#include <utility>
#include <vector>

#include "framework/CodePage.h"
#include "framework/TestSeams.h"

namespace {

using FileDialogResponder = std::function<std::optional<std::string>(const FileDialogCall&)>;

FileDialogResponder& Responder()
{
    static FileDialogResponder responder;
    return responder;
}

// "A|*.a|B|*.b||" -> "A\0*.a\0B\0*.b\0\0". The bars are replaced after the conversion: in
// CP932 a 0x7C byte may be the second half of a double-byte character.
std::wstring SystemFilter(const CString& filter)
{
    std::wstring wide = WideFromCp932(filter.Bytes());
    for (wchar_t& c : wide)
        if (c == L'|') c = L'\0';
    wide.append(2, L'\0');  // the list ends with two NULs even when the bars were missing
    return wide;
}

constexpr size_t kPathBufferChars = 32768;  // the longest path the system can name

}  // namespace

void SetFileDialogResponder(FileDialogResponder responder)
{
    Responder() = std::move(responder);
}

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_openFileDialog(openFileDialog), m_defExt(defExt), m_fileName(fileName), m_filter(filter),
      m_flags(flags), m_pParentWnd(parent)
{
}

void CFileDialog::SetTitle(const char* title)
{
    m_title = title;
}

void CFileDialog::SetInitialDir(const char* folder)
{
    m_initialDir = folder;
}

INT_PTR CFileDialog::DoModal()
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    m_pathName.Empty();
    m_pathNameExact = TRUE;

    if (const FileDialogResponder responder = Responder()) {
        const FileDialogCall call{owner, m_title.Bytes(), m_fileName.Bytes(), m_initialDir.Bytes(),
                                  m_defExt.Bytes(), m_filter.Bytes(), m_flags};
        const std::optional<std::string> chosen = responder(call);
        if (!chosen) return IDCANCEL;
        m_pathName = CString(chosen->data(), static_cast<int>(chosen->size()));
        return IDOK;
    }
    return RunSystemDialog(owner) ? IDOK : IDCANCEL;
}

bool CFileDialog::RunSystemDialog(HWND owner)
{
    const std::wstring filter = SystemFilter(m_filter);
    const std::wstring title = WideFromCp932(m_title.Bytes());
    const std::wstring initialDir = WideFromCp932(m_initialDir.Bytes());
    const std::wstring defExt = WideFromCp932(m_defExt.Bytes());

    std::vector<wchar_t> file(kPathBufferChars, L'\0');
    const std::wstring proposed = WideFromCp932(m_fileName.Bytes());
    if (proposed.size() < file.size()) proposed.copy(file.data(), proposed.size());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = m_filter.IsEmpty() ? nullptr : filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = m_title.IsEmpty() ? nullptr : title.c_str();
    dialog.lpstrInitialDir = m_initialDir.IsEmpty() ? nullptr : initialDir.c_str();
    dialog.lpstrDefExt = m_defExt.IsEmpty() ? nullptr : defExt.c_str();
    dialog.Flags = m_flags | OFN_EXPLORER;

    const BOOL chosen = m_openFileDialog ? ::GetOpenFileNameW(&dialog) : ::GetSaveFileNameW(&dialog);
    if (!chosen) return false;

    file.back() = L'\0';
    std::string path;
    m_pathNameExact = Cp932FromWide(file.data(), path);  // '?' for a character without a CP932 form
    m_pathName = CString(path.data(), static_cast<int>(path.size()));
    return true;
}
