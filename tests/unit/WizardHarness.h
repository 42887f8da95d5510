// Runs test code inside a real wizard dialog made from template 102, without its start-up
// (no language dialog, no configuration): the fields are set by the test.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Application.h"
#include "ZantoSetupDlg.h"

class CWizardUnderTest : public CZantoSetupDlg
{
public:
    using CZantoSetupDlg::OnOK;
    using CZantoSetupDlg::OnAccept;
    using CZantoSetupDlg::OnNext;
    using CZantoSetupDlg::OnSysCommand;

    bool IsShown(int nID) const { return (GetWindowLongA(GetDlgItem(nID), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool IsEnabled(int nID) const { return IsWindowEnabled(GetDlgItem(nID)) != FALSE; }
    HWND Hwnd() const { return m_hWnd; }

    std::function<void(CWizardUnderTest&)> m_fnBody;
    bool m_bBodyRan = false;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        PostMessageA(m_hWnd, WM_APP, 0, 0);
        return TRUE;
    }
    bool OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override
    {
        if (uMsg == WM_APP)
        {
            m_bBodyRan = true;
            m_fnBody(*this);
            EndDialog(IDOK);
            return true;
        }
        return CZantoSetupDlg::OnMessage(uMsg, wParam, lParam, lResult);
    }
};

inline void RunInWizard(bool bEnglish, const std::function<void(CWizardUnderTest&)>& fnBody)
{
    static const bool s_bEnvironment = (EnableDialogEnvironment(), true);
    (void)s_bEnvironment;
    CWizardUnderTest dlg;
    dlg.m_bEnglish = bEnglish;
    dlg.m_fnBody = fnBody;
    // A dialog that is never made would pass every check of the body unseen.
    ASSERT_EQ(IDOK, dlg.DoModal()) << "the wizard dialog (template 102) did not run";
    EXPECT_TRUE(dlg.m_bBodyRan) << "the dialog ended before the test's body ran";
}
