// Message maps: a static table per dialog class of {message, notification, control id,
// handler}, written with the macros below. Lookup walks from the most derived class's table
// to its bases' tables; the first matching entry handles the message.
//
//   class CMyDlg : public CDialog {
//       afx_msg void OnExecute();
//       DECLARE_MESSAGE_MAP()
//   };
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_BN_CLICKED(1002, &CMyDlg::OnExecute)
//   END_MESSAGE_MAP()
#pragma once

#include <windows.h>

class CDialog;

using AfxDialogHandler = void (CDialog::*)();

struct AfxMessageMapEntry {
    UINT message;  // WM_COMMAND, WM_DESTROY; 0 ends the table
    UINT code;     // notification code of a WM_COMMAND (BN_CLICKED), else 0
    UINT id;       // control id of a WM_COMMAND, else 0
    AfxDialogHandler handler;
};

struct AfxMessageMap {
    const AfxMessageMap* (*base)();  // the base class's table, or a function returning null
    const AfxMessageMapEntry* entries;
};

#define DECLARE_MESSAGE_MAP()                                  \
protected:                                                     \
    static const ::AfxMessageMap* GetThisMessageMap();         \
    virtual const ::AfxMessageMap* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const ::AfxMessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const ::AfxMessageMap* theClass::GetThisMessageMap()                                \
    {                                                                                   \
        using ThisClass [[maybe_unused]] = theClass;                                    \
        using TheBaseClass = baseClass;                                                 \
        static const ::AfxMessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                  \
            {0, 0, 0, nullptr}};                                           \
        static const ::AfxMessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                       \
    }

// The handler is checked to be a `void ()` member of the class whose table this is.
#define AFX_DIALOG_HANDLER(memberFxn) \
    static_cast<::AfxDialogHandler>(static_cast<void (ThisClass::*)()>(memberFxn))

#define ON_COMMAND_NOTIFY(code, id, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), AFX_DIALOG_HANDLER(memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_COMMAND_NOTIFY(BN_CLICKED, id, memberFxn)
#define ON_COMMAND(id, memberFxn) ON_COMMAND_NOTIFY(0, id, memberFxn)
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, AFX_DIALOG_HANDLER(&ThisClass::OnDestroy)},
