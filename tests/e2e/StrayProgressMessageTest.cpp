// The program's progress report has the number WM_USER + 1, which the dialog manager knows as
// DM_SETDEFID. Another program that sends or posts that number to the wizard, with anything in
// wParam, must neither bring the setup down nor disturb an installation.
#include <gtest/gtest.h>

#include <windows.h>

#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "SetupSession.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
const WPARAM s_awStray[] = {0, 1, IDC_PLAY, 0x41414141, 0xDEADBEEF, static_cast<WPARAM>(-1)};

// Sends and posts WM_USER + 1 with each stray wParam; false when a send was not answered.
bool SendStrayReports(HWND hMain)
{
    for (const WPARAM wParam : s_awStray)
    {
        DWORD_PTR dwResult = 0;
        if (!SendMessageTimeoutA(hMain, WM_USER + 1, wParam, 42, SMTO_ABORTIFHUNG, 10000, &dwResult))
            return false;
        PostMessageA(hMain, WM_USER + 1, wParam, 42);
    }
    return true;
}

DWORD_PTR DefaultButton(HWND hMain)
{
    DWORD_PTR dwResult = 0;
    SendMessageTimeoutA(hMain, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 10000, &dwResult);
    return dwResult;
}
}

TEST(StrayProgressMessageTest, AnotherProgramsWmUserPlusOneLeavesTheSetupWhole)
{
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CInstallTarget target;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        const HWND hMain = main.GetHwnd();
        const DWORD dwPid = session.Process().GetPid();

        // The start page: the dialog manager takes the number for DM_SETDEFID.
        ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
        ASSERT_TRUE(SendStrayReports(hMain)) << session.Diagnose();
        Settle(main);
        DWORD_PTR dwResult = 0;
        SendMessageTimeoutA(hMain, WM_USER + 1, IDCANCEL, 0, SMTO_ABORTIFHUNG, 10000, &dwResult);
        EXPECT_EQ(static_cast<DWORD_PTR>(MAKELONG(IDCANCEL, DC_HASDEFID)), DefaultButton(hMain));
        EXPECT_EQ(0, PageOf(main));

        // The folder page.
        ASSERT_TRUE(WalkTo(main, 3)) << session.Diagnose();
        ASSERT_TRUE(SendStrayReports(hMain)) << session.Diagnose();
        Settle(main);
        EXPECT_EQ(3, PageOf(main));
        EXPECT_TRUE(ListMessageBoxes(dwPid).empty()) << session.Diagnose();

        // During the installation: the sends are answered while it runs and change nothing of it.
        main.SetText(IDC_INSTALL_DIR, target.InstallDir());
        ASSERT_TRUE(GoForward(main, 3)) << session.Diagnose();
        main.SetText(IDC_MENU_FOLDER, target.MenuFolder());
        main.Click(IDC_NEXT);
        unsigned nDuring = 0;
        const bool bEnded = WaitUntil(
            [&] {
                const bool bRunning = main.IsVisible(IDC_PROGRESS) && ListMessageBoxes(dwPid).empty();
                if (!SendStrayReports(hMain))
                    return true;
                if (bRunning && main.IsVisible(IDC_PROGRESS) && ListMessageBoxes(dwPid).empty())
                    ++nDuring;
                return !ListMessageBoxes(dwPid).empty();
            },
            60000);
        ASSERT_TRUE(bEnded) << session.Diagnose();
        ASSERT_TRUE(session.Process().IsRunning());
        EXPECT_GE(nDuring, 1u) << "no stray report was answered while the installation ran";
        AnswerBox(session, SuccessMessage(bEnglish), IDOK);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
        ExpectCompleteInstallation(bEnglish, target);

        main.Click(IDC_INSTALL);
        AnswerBox(session,
                  Text(bEnglish, "Do you really want to deinstall this game ?", "Wollen Sie Zanto wirklich Deinstallieren ?"),
                  IDYES);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(WaitUntil([&] {
            return main.GetText(IDC_INSTALL) == Text(bEnglish, "Install", "Installieren") && main.IsEnabled(IDCANCEL);
        })) << session.Diagnose();
        EXPECT_FALSE(FileExists(target.InstallDir()));
        EXPECT_FALSE(FileExists(target.MenuPath()));
        EXPECT_TRUE(RecordValues().empty());

        main.Click(IDCANCEL);
        ASSERT_TRUE(session.Process().WaitForExit()) << session.Diagnose();
        EXPECT_EQ(0u, session.Process().GetExitCode());
    }
}
