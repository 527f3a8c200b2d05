// One command at a time. Execute, Browse and Cancel show message boxes or the browser, whose
// loops hand the dialog whatever is posted to it meanwhile (a click, Escape's IDCANCEL, a
// close): a command that arrives while another is under way is not acted on, and a Cancel is
// kept for when it is done. So at most one of the dialog's windows is open at any time, and
// the dialog stays disabled under it.
#include "dialog/ConditionDlg.h"

#include "dialog/ConditionMessages.h"

namespace {

// Holds the dialog busy for as long as it lives, on every way out.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : m_busy(busy) { m_busy = true; }
    ~BusyScope() { m_busy = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_busy;
};

}  // namespace

void CConditionDlg::OnExecute()
{
    RunAlone(&CConditionDlg::Execute);
}

void CConditionDlg::OnBrowse()
{
    RunAlone(&CConditionDlg::Browse);
}

// Escape, the close box and the Cancel button. One that comes while a question is open runs
// once it has been answered: the request to stop is not lost, and its notice is never followed
// by an export.
void CConditionDlg::OnCancel()
{
    if (m_bBusy) m_bCancelPending = true;
    else RunAlone(&CConditionDlg::NoticeCancel);
}

// A Cancel that came during the command takes the place of the end the command chose. An end
// already under way (a handler that failed meanwhile) is never replaced. A dialog that went
// meanwhile (with the host window that owned it) has nothing left to show or end.
void CConditionDlg::RunAlone(Command command)
{
    if (m_bBusy) return;
    int end = RunBusy(command);
    if (!IsWindow()) {
        m_bCancelPending = false;
        return;
    }
    if (m_bCancelPending && end != kConditionCancel && !IsEndRequested()) end = RunBusy(&CConditionDlg::NoticeCancel);
    m_bCancelPending = false;
    if (end != 0 && !IsEndRequested()) EndDialog(end);
}

int CConditionDlg::RunBusy(Command command)
{
    const BusyScope busy(m_bBusy);
    return (this->*command)();
}

int CConditionDlg::NoticeCancel()
{
    ShowMessage(condition_messages::kCancelled, MB_ICONINFORMATION | MB_OK);
    return kConditionCancel;
}

int CConditionDlg::RefusePastData()
{
    ShowMessage(condition_messages::kPastData, MB_ICONEXCLAMATION | MB_OK);
    return kConditionCancel;
}
