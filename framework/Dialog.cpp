#include "framework/Dialog.h"

#include <utility>

#include "framework/Controls.h"
#include "framework/TestSeams.h"
#include "framework/WinApp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

namespace {

// A popup cannot be owned by a child window: the owner is the child's top-level ancestor.
HWND TopLevelOwner(CWnd* parent)
{
    HWND owner = parent ? parent->m_hWnd : nullptr;
    while (owner && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    return owner;
}

std::function<bool(UINT)>& CreationResponder()
{
    static std::function<bool(UINT)> responder;
    return responder;
}

}  // namespace

void SetDialogCreationResponder(std::function<bool(UINT templateId)> responder)
{
    CreationResponder() = std::move(responder);
}

CDialog::~CDialog()
{
    // The derived parts of this object are gone already: the window must not call back.
    HWND hwnd = m_hWnd;
    Detach();
    if (hwnd && ::IsWindow(hwnd)) ::DestroyWindow(hwnd);
}

void CDialog::Attach(HWND hwnd)
{
    m_hWnd = hwnd;
    ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
}

void CDialog::BindControl(CWnd& control)
{
    for (CWnd* bound : m_boundControls) {
        if (bound == &control) return;
    }
    m_boundControls.push_back(&control);
}

// The controls' windows went with the dialog's: their objects must not keep the handles,
// which Windows may give to other windows from now on.
void CDialog::DetachBoundControls()
{
    for (CWnd* bound : m_boundControls) bound->m_hWnd = nullptr;
    m_boundControls.clear();
}

void CDialog::Detach()
{
    if (!m_hWnd) return;
    if (::IsWindow(m_hWnd)) ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
    m_hWnd = nullptr;
}

HWND CDialog::CreateFromTemplate(UINT templateId, HWND owner)
{
    AfxInitCommonControls();
    m_templateId = templateId;
    if (CreationResponder() && !CreationResponder()(templateId)) {
        ::SetLastError(ERROR_NO_MORE_USER_HANDLES);
        return nullptr;
    }
    // The window attaches itself to this object in WM_INITDIALOG, before OnInitDialog.
    return ::CreateDialogParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(templateId), owner, DialogProc,
                                reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    if (m_hWnd) return FALSE;
    m_pParentWnd = parent;
    return CreateFromTemplate(templateId, parent ? parent->m_hWnd : nullptr) != nullptr;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd || m_modal) return -1;

    m_owner = TopLevelOwner(m_pParentWnd);
    // An owner that is disabled already (the host's window during a run) stays disabled.
    m_ownerToEnable = m_owner && ::IsWindowEnabled(m_owner) ? m_owner : nullptr;
    if (m_ownerToEnable) ::EnableWindow(m_ownerToEnable, FALSE);

    m_modal = true;
    m_endRequested = false;
    m_modalResult = -1;
    INT_PTR result = -1;
    try {
        if (CreateFromTemplate(m_templateId, m_owner)) result = RunModalLoop();
    } catch (...) {
        EndModalState();
        throw;
    }
    EndModalState();
    return result;
}

void CDialog::EndModalState()
{
    m_modal = false;
    EnableOwnerAgain();
    if (m_owner && m_hWnd && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(m_owner);
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    m_owner = nullptr;
}

void CDialog::EnableOwnerAgain()
{
    if (m_ownerToEnable) ::EnableWindow(m_ownerToEnable, TRUE);
    m_ownerToEnable = nullptr;
}

INT_PTR CDialog::RunModalLoop()
{
    // A template without WS_VISIBLE is shown once the messages posted during its
    // initialisation are handled, unless the dialog ended before that.
    bool showWhenIdle = !(::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_VISIBLE);
    MSG message;
    while (!m_endRequested && m_hWnd) {
        if (showWhenIdle && !::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
            ::UpdateWindow(m_hWnd);
            showWhenIdle = false;
        }
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {  // WM_QUIT: leave it for the outer loop too
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return -1;
        }
        if (got < 0) return -1;

        const bool forThisDialog = message.hwnd == m_hWnd || ::IsChild(m_hWnd, message.hwnd);
        if (forThisDialog && PreTranslateMessage(&message)) continue;
        if (m_hWnd && ::IsDialogMessageW(m_hWnd, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return m_endRequested ? m_modalResult : -1;
}

void CDialog::EndDialog(int result)
{
    if (m_modal) {
        m_modalResult = result;
        m_endRequested = true;
        // As the system's own dialogs do: the owner is enabled before the dialog hides, so
        // that the activation passes back to it.
        EnableOwnerAgain();
    }
    if (m_hWnd) {
        ::ShowWindow(m_hWnd, SW_HIDE);
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wakes the modal loop
    }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

void CDialog::GotoDlgCtrl(CWnd* control)
{
    if (control && control->m_hWnd)
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), TRUE);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

bool CDialog::DispatchToMessageMap(UINT message, UINT code, UINT id)
{
    for (const AfxMessageMap* map = GetMessageMap(); map; map = map->base()) {
        for (const AfxMessageMapEntry* entry = map->entries; entry->message != 0; ++entry) {
            if (entry->message == message && entry->code == code && entry->id == id) {
                (this->*entry->handler)();
                return true;
            }
        }
    }
    return false;
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return DispatchToMessageMap(WM_COMMAND, HIWORD(wParam), LOWORD(wParam)) ? TRUE : FALSE;
    case WM_DESTROY:
        DispatchToMessageMap(WM_DESTROY, 0, 0);
        return FALSE;
    case WM_NCDESTROY:
        DetachBoundControls();
        Detach();  // a modal loop sees m_hWnd gone and ends
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        if (dialog) dialog->Attach(hwnd);
    } else {
        dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!dialog) return FALSE;

    // No exception may cross into the window system. A handler that fails ends its dialog
    // with -1, a result no button gives, so that DoModal's caller sees a failure.
    try {
        return dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        try {
            dialog->EndDialog(kDialogFailed);
        } catch (...) {
        }
        return FALSE;
    }
}
