// CDialog: a dialog from a template in the executable's resources, modal (DoModal) or
// modeless (Create). Commands reach the class's message map; IDOK and IDCANCEL (Enter, Esc,
// the close box) reach OnOK and OnCancel. Destroying the object destroys its window.
#pragma once

#include <vector>

#include "framework/DataExchange.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"

// What DoModal returns when the dialog could not be created or one of its handlers threw.
constexpr int kDialogFailed = -1;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_templateId(templateId), m_pParentWnd(parent) {}
    ~CDialog() override;
    CDialog(const CDialog&) = delete;  // the object owns its window
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally and returns the value given to EndDialog, or kDialogFailed
    // (-1) when the window could not be created or a handler threw (the exception ends there,
    // it never crosses the window system). An enabled owner is disabled while it runs.
    // Every message of the loop goes first to PreTranslateMessage, then to IsDialogMessage.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless (hidden unless the template says visible).
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Modal: ends the loop with `result`. Both kinds: hides the window.
    void EndDialog(int result);
    // EndDialog was called while DoModal runs: the loop ends once the handler returns.
    bool IsEndRequested() const { return m_modal && m_endRequested; }

    // Exchanges data between controls and members (DoDataExchange): TRUE saves the
    // controls into the members, FALSE loads the members into the controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void GotoDlgCtrl(CWnd* control);  // moves the focus as the Tab key would
    // Remembers a control object bound to one of this dialog's controls (DDX_Control), so
    // that it lets go of its handle when the dialog's window is destroyed.
    void BindControl(CWnd& control);

    virtual BOOL OnInitDialog();   // loads the members into the controls; TRUE: default focus
    virtual void OnOK();           // saves the controls, then ends with IDOK
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual BOOL PreTranslateMessage(MSG* /*message*/) { return FALSE; }  // TRUE consumes the message
    virtual void DoDataExchange(CDataExchange* /*exchange*/) {}

    afx_msg void OnDestroy() {}

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool DispatchToMessageMap(UINT message, UINT code, UINT id);
    HWND CreateFromTemplate(UINT templateId, HWND owner);
    void Attach(HWND hwnd);
    void Detach();
    void DetachBoundControls();
    INT_PTR RunModalLoop();
    void EndModalState();
    void EnableOwnerAgain();

    UINT m_templateId;
    CWnd* m_pParentWnd;
    bool m_modal = false;         // DoModal is running (from creation to the end of its loop)
    bool m_endRequested = false;  // EndDialog was called during DoModal
    INT_PTR m_modalResult = -1;
    HWND m_owner = nullptr;          // owner of the running modal dialog
    HWND m_ownerToEnable = nullptr;  // the owner DoModal disabled and must enable again
    std::vector<CWnd*> m_boundControls;  // members of this object, bound by DDX_Control
};
