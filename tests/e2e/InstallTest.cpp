#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "SetupSession.h"
#include "WizardPages.h"
#include "resource.h"

TEST(InstallTest, InstallsRecordsAndRemovesAgainInBothLanguages)
{
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        // The program ends with the session, before the target's folders are removed.
        CInstallTarget target;
        CSetupSession session;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        InstallThroughWizard(session, main, bEnglish, target);
        if (HasFatalFailure())
            return;

        EXPECT_EQ(Text(bEnglish, "Deinstall", "Deinstallieren"), main.GetText(IDC_INSTALL));
        EXPECT_TRUE(main.IsEnabled(IDC_PLAY));
        ExpectCompleteInstallation(bEnglish, target);
        const std::vector<std::string> installed = FilesBelow(target.InstallDir());

        // A new start finds the installation and offers its removal.
        main.Click(IDCANCEL);
        ASSERT_TRUE(session.Process().WaitForExit()) << session.Diagnose();
        main = session.StartInLanguage(bEnglish);
        ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
        EXPECT_EQ(Text(bEnglish, "Deinstall", "Deinstallieren"), main.GetText(IDC_INSTALL));
        EXPECT_TRUE(main.IsEnabled(IDC_PLAY));

        const std::string strQuestion =
            Text(bEnglish, "Do you really want to deinstall this game ?", "Wollen Sie Zanto wirklich Deinstallieren ?");
        main.Click(IDC_INSTALL);
        AnswerBox(session, strQuestion, IDNO);
        if (HasFatalFailure())
            return;
        Settle(main);
        EXPECT_EQ(installed, FilesBelow(target.InstallDir()));
        EXPECT_EQ(kRecordValueCount, RecordValues().size());
        EXPECT_EQ(Text(bEnglish, "Deinstall", "Deinstallieren"), main.GetText(IDC_INSTALL));

        main.Click(IDC_INSTALL);
        AnswerBox(session, strQuestion, IDYES);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(WaitUntil([&] { return main.GetText(IDC_INSTALL) == Text(bEnglish, "Install", "Installieren"); }))
            << session.Diagnose();
        EXPECT_FALSE(FileExists(target.InstallDir()));
        EXPECT_FALSE(FileExists(target.MenuPath()));
        EXPECT_TRUE(RecordValues().empty());
        EXPECT_FALSE(main.IsEnabled(IDC_PLAY));
        EXPECT_TRUE(main.IsEnabled(IDCANCEL));
        EXPECT_EQ("", session.Diagnose());
    }
}

// The percentage that the installation page shows while the first file is written, seen while
// the cancel question queued behind Next is open; the question is answered No.
namespace
{
std::string PercentAtFirstFile(CSetupSession& session, const CWindowDriver& main, bool bEnglish,
                               const CInstallTarget& target)
{
    if (!WalkToMenuPage(main, target))
        return "no start menu page";
    StartInstallAndCancel(main);
    const HWND hQuestion =
        WaitForMessageBoxText(session.Process().GetPid(), CancelQuestion(bEnglish), ETextMatch::Equals, 30000);
    if (hQuestion == nullptr)
        return "no cancel question";
    const std::string strPercent = main.GetText(IDC_PERCENT);
    AnswerMessageBox(hQuestion, IDNO);
    AnswerBox(session, SuccessMessage(bEnglish), IDOK);
    return strPercent;
}
}

// After an installation and its removal, the next installation in the same run counts its
// progress from nothing, not on from the bytes of the earlier one.
TEST(InstallTest, ALaterInstallationInTheSameRunCountsItsProgressFromNothing)
{
    CInstallTarget target;
    CSetupSession session;
    CWindowDriver main = session.StartInLanguage(true);
    const std::string strFirst = PercentAtFirstFile(session, main, true, target);
    ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
    main.Click(IDC_INSTALL);
    AnswerBox(session, "Do you really want to deinstall this game ?", IDYES);
    ASSERT_TRUE(WaitUntil([&] { return main.GetText(IDC_INSTALL) == "Install"; })) << session.Diagnose();

    EXPECT_EQ(strFirst, PercentAtFirstFile(session, main, true, target));
    ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
    ExpectCompleteInstallation(true, target);
}
