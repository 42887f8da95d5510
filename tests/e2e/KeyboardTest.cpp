#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "Polling.h"
#include "SetupSession.h"
#include "WizardPages.h"
#include "resource.h"

// A click leaves the focus on the clicked button, which the next page hides. Keys must not
// reach the hidden button: Enter or Space would skip the licence.
TEST(KeyboardTest, KeysCannotPressAButtonThatThePageHid)
{
    for (const UINT nKey : {VK_RETURN, VK_SPACE})
    {
        SCOPED_TRACE(nKey == VK_RETURN ? "Enter" : "Space");
        CSetupSession session;
        CWindowDriver main = session.StartInLanguage(true);
        main.Click(IDC_INSTALL);
        ASSERT_TRUE(WaitUntil([&] { return main.IsVisible(IDC_ACCEPT); })) << session.Diagnose();
        // The page shows its controls before it moves the focus: wait until it is complete.
        Settle(main);

        const HWND hFocus = FocusOf(main.GetHwnd());
        ASSERT_NE(nullptr, hFocus);
        EXPECT_NE(main.GetControl(IDC_INSTALL), hFocus) << "the focus stayed on the hidden Install button";
        PressKey(hFocus, nKey);
        ASSERT_TRUE(WaitForPostedInputHandled(main)) << session.Diagnose();
        EXPECT_TRUE(main.IsVisible(IDC_ACCEPT)) << "still on the licence page";
        EXPECT_FALSE(main.IsVisible(IDC_INSTALL_DIR));
    }
}
