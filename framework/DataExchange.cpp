#include "framework/DataExchange.h"

#include "framework/CodePage.h"
#include "framework/Dialog.h"

namespace {

HWND DialogItem(CDataExchange* exchange, int id)
{
    if (!exchange || !exchange->m_pDlgWnd) return nullptr;
    return ::GetDlgItem(exchange->m_pDlgWnd->m_hWnd, id);
}

void LimitLastControl(CDataExchange* exchange, int maxChars)
{
    if (!exchange || exchange->m_idLastControl == 0) return;
    if (HWND edit = DialogItem(exchange, exchange->m_idLastControl))
        ::SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(maxChars > 0 ? maxChars : 0), 0);
}

}  // namespace

void DDX_Control(CDataExchange* exchange, int id, CWnd& control)
{
    control.m_hWnd = DialogItem(exchange, id);
    CWnd* owner = exchange ? exchange->m_pDlgWnd : nullptr;
    if (auto* dialog = dynamic_cast<CDialog*>(owner); dialog && control.m_hWnd) dialog->BindControl(control);
}

void DDX_Text(CDataExchange* exchange, int id, CString& value)
{
    HWND item = DialogItem(exchange, id);
    if (!item) return;
    exchange->m_idLastControl = id;

    CWnd control(item);
    if (exchange->m_bSaveAndValidate) control.GetWindowText(value);
    else control.SetWindowText(value);
}

void DDV_MaxChars(CDataExchange* exchange, CString& /*value*/, int maxChars)
{
    if (!exchange || maxChars < 0) return;
    if (!exchange->m_bSaveAndValidate) LimitLastControl(exchange, maxChars);
}

