// Control objects bound with DDX_Control hold their windows' handles only while the dialog's
// window exists: the run keeps using dialog objects after their windows are gone.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "tests/framework/TestResource.h"

namespace {

class BoundDialog : public CDialog {
public:
    BoundDialog() : CDialog(IDD_TEST_DIALOG) {}

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        handleDuringRun = m_edName.m_hWnd;
        EndDialog(IDCANCEL);
        return TRUE;
    }

    void DoDataExchange(CDataExchange* exchange) override
    {
        DDX_Control(exchange, IDC_NAME_EDIT, m_edName);
        DDX_Control(exchange, IDC_PROGRESS_BAR, m_barMain);
    }

    CEdit m_edName;
    CProgressCtrl m_barMain;
    HWND handleDuringRun = nullptr;
};

TEST(BoundControls, ClosedModalDialogsControlsHoldNoHandle)
{
    BoundDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_NE(dialog.handleDuringRun, nullptr);
    EXPECT_EQ(dialog.m_edName.m_hWnd, nullptr);
    EXPECT_EQ(dialog.m_barMain.m_hWnd, nullptr);
    // The object can run again and binds its controls anew.
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_edName.m_hWnd, nullptr);
}

TEST(BoundControls, DestroyedModelessDialogsControlsHoldNoHandle)
{
    BoundDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG));
    dialog.UpdateData(FALSE);   // binds the controls a second time: still one entry each
    HWND edit = dialog.m_edName.m_hWnd;
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(IsWindow(edit));
    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(dialog.m_edName.m_hWnd, nullptr);
    EXPECT_EQ(dialog.m_barMain.m_hWnd, nullptr);
}

}  // namespace
