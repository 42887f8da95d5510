#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <string>

#include "MessageBoxDriver.h"
#include "Polling.h"
#include "SetupSession.h"
#include "WizardPages.h"
#include "WindowFinder.h"
#include "resource.h"

namespace
{
// Cancel and every control that a page shows or hides.
const int s_anControls[] = {
    IDCANCEL,         IDC_INSTALL,  IDC_PLAY,    IDC_NEXT,       IDC_INSTALL_DIR, IDC_BROWSE,        IDC_DIR_FRAME,
    IDC_SPACE_INFO,   IDC_PROGRESS, IDC_STATUS,  IDC_MENU_FRAME, IDC_MENU_FOLDER, IDC_LICENSE_FRAME, IDC_KIND_FRAME,
    IDC_LICENSE_TEXT, IDC_ACCEPT,   IDC_PERCENT, IDC_KIND_1,     IDC_KIND_2,
};

// Shown, enabled, checked and text of every control: one line each, so that a difference
// names its control.
std::string DescribeControls(const CWindowDriver& main)
{
    std::string strStates;
    for (const int nID : s_anControls)
    {
        const std::string strText = main.GetText(nID);
        strStates += std::to_string(nID) + (main.IsVisible(nID) ? " shown" : " hidden") +
                     (main.IsEnabled(nID) ? " enabled" : " disabled") + " check " + std::to_string(main.GetCheck(nID)) +
                     " \"" + (nID == IDC_LICENSE_TEXT ? std::to_string(strText.size()) + " chars" : strText) + "\"\n";
    }
    return strStates;
}

std::string Question(bool bEnglish)
{
    return Text(bEnglish, "Do you really want to cancel ?", "Wollen Sie wirklich abbrechen ?");
}

// Back on the start page of a wizard that installed nothing.
void ExpectStartPage(const CWindowDriver& main, bool bEnglish)
{
    for (const int nID : s_anControls)
    {
        const bool bShown = nID == IDCANCEL || nID == IDC_INSTALL || nID == IDC_PLAY;
        EXPECT_EQ(bShown, main.IsVisible(nID)) << "control " << nID;
    }
    EXPECT_EQ(Text(bEnglish, "Quit", "Beenden"), main.GetText(IDCANCEL));
    EXPECT_EQ(Text(bEnglish, "Install", "Installieren"), main.GetText(IDC_INSTALL));
    EXPECT_TRUE(main.IsEnabled(IDCANCEL));
    EXPECT_TRUE(main.IsEnabled(IDC_INSTALL));
    EXPECT_FALSE(main.IsEnabled(IDC_PLAY));
}

// Answers the question that cancelling after the start page asks; the box must be the expected one.
void AnswerQuestion(CSetupSession& session, bool bEnglish, int nAnswer)
{
    const HWND hBox = WaitForMessageBoxText(session.Process().GetPid(), Question(bEnglish));
    ASSERT_NE(nullptr, hBox) << "no question" << session.Diagnose();
    EXPECT_EQ("ZantoSetup", ReadMessageBoxCaption(hBox));
    EXPECT_NE(nullptr, GetDlgItem(hBox, IDYES));
    EXPECT_NE(nullptr, GetDlgItem(hBox, IDNO));
    EXPECT_EQ(nullptr, GetDlgItem(hBox, IDOK));
    EXPECT_EQ(nullptr, GetDlgItem(hBox, IDCANCEL));
    AnswerMessageBox(hBox, nAnswer);
    ASSERT_TRUE(WaitForWindowGone(hBox)) << session.Diagnose();
}
}

TEST(WizardCancelTest, AfterTheStartPageCancelAsksAndYesGoesBackToTheStart)
{
    for (const bool bEnglish : {true, false})
    {
        for (const int nPage : {1, 3, 4, 5})
        {
            for (const int nAnswer : {IDNO, IDYES})
            {
                SCOPED_TRACE(std::string(bEnglish ? "English" : "German") + ", page " + std::to_string(nPage) +
                             (nAnswer == IDYES ? ", Yes" : ", No"));
                CSetupSession session;
                CWindowDriver main = session.StartInLanguage(bEnglish);
                ASSERT_TRUE(WalkTo(main, nPage)) << session.Diagnose();
                const std::string strBefore = DescribeControls(main);

                main.Click(IDCANCEL);
                AnswerQuestion(session, bEnglish, nAnswer);
                if (HasFatalFailure())
                    return;
                if (nAnswer == IDNO)
                {
                    Settle(main);
                    EXPECT_EQ(strBefore, DescribeControls(main));
                }
                else
                {
                    ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
                    ExpectStartPage(main, bEnglish);
                }
                EXPECT_TRUE(session.Process().IsRunning());
            }
        }
    }
}

TEST(WizardCancelTest, EveryWayOfCancellingAsksAfterTheStartPage)
{
    struct SWay
    {
        const char* pszHow;
        void (*fnCancel)(const CWindowDriver&);
    };
    const SWay aWays[] = {
        {"Cancel button", [](const CWindowDriver& main) { main.Click(IDCANCEL); }},
        {"close box", [](const CWindowDriver& main) { PostMessageA(main.GetHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Escape",
         [](const CWindowDriver& main) { PostMessageA(main.GetControl(IDC_INSTALL_DIR), WM_KEYDOWN, VK_ESCAPE, 0); }},
    };
    for (const SWay& way : aWays)
    {
        SCOPED_TRACE(way.pszHow);
        CSetupSession session;
        CWindowDriver main = session.StartInLanguage(false);
        ASSERT_TRUE(WalkTo(main, 3)) << session.Diagnose();
        way.fnCancel(main);
        AnswerQuestion(session, false, IDNO);
        if (HasFatalFailure())
            return;
        Settle(main);
        EXPECT_TRUE(main.IsVisible(IDC_INSTALL_DIR));
        EXPECT_FALSE(main.IsVisible(IDC_INSTALL));
        EXPECT_TRUE(session.Process().IsRunning());
    }
}

// The start page ends the program without a question, also when a cancelled pass led back to it.
TEST(WizardCancelTest, QuitOnTheStartPageEndsAtOnce)
{
    for (const bool bEnglish : {true, false})
    {
        for (const bool bAfterCancelledPass : {false, true})
        {
            SCOPED_TRACE(std::string(bEnglish ? "English" : "German") +
                         (bAfterCancelledPass ? ", after a cancelled pass" : ", fresh"));
            CSetupSession session;
            CWindowDriver main = session.StartInLanguage(bEnglish);
            if (bAfterCancelledPass)
            {
                ASSERT_TRUE(WalkTo(main, 3)) << session.Diagnose();
                main.Click(IDCANCEL);
                AnswerQuestion(session, bEnglish, IDYES);
                if (HasFatalFailure())
                    return;
                ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
            }
            main.Click(IDCANCEL);
            ASSERT_TRUE(session.Process().WaitForExit()) << session.Diagnose();
            EXPECT_EQ(0u, session.Process().GetExitCode());
        }
    }
}

// Page 4 renames Next to Install; no page renames it back.
TEST(WizardCancelTest, NextKeepsTheInstallCaptionInLaterPasses)
{
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        ASSERT_TRUE(WalkTo(main, 4)) << session.Diagnose();
        main.Click(IDCANCEL);
        AnswerQuestion(session, bEnglish, IDYES);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();

        for (const int nPage : {1, 3})
        {
            SCOPED_TRACE("page " + std::to_string(nPage));
            ASSERT_TRUE(GoForward(main, nPage == 1 ? 0 : 1)) << session.Diagnose();
            EXPECT_EQ(Text(bEnglish, "Install", "Installieren"), main.GetText(IDC_NEXT));
            EXPECT_TRUE(main.IsVisible(IDC_NEXT));
        }
    }
}

// The box keeps its tick from the earlier pass, but entering the page disables Next all the same:
// the next click clears the box and a further one offers Next again.
TEST(WizardCancelTest, LicenceOfALaterPassAsksForTheTickAgain)
{
    CSetupSession session;
    CWindowDriver main = session.StartInLanguage(true);
    ASSERT_TRUE(WalkTo(main, 3)) << session.Diagnose();
    main.Click(IDCANCEL);
    AnswerQuestion(session, true, IDYES);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
    ASSERT_TRUE(GoForward(main, 0)) << session.Diagnose();

    EXPECT_EQ(BST_CHECKED, main.GetCheck(IDC_ACCEPT));
    EXPECT_FALSE(main.IsEnabled(IDC_NEXT));
    main.Click(IDC_ACCEPT);
    ASSERT_TRUE(WaitUntil([&] { return main.GetCheck(IDC_ACCEPT) == BST_UNCHECKED; })) << session.Diagnose();
    Settle(main);
    EXPECT_FALSE(main.IsEnabled(IDC_NEXT));
    main.Click(IDC_ACCEPT);
    ASSERT_TRUE(WaitUntil([&] { return main.GetCheck(IDC_ACCEPT) == BST_CHECKED; })) << session.Diagnose();
    ASSERT_TRUE(WaitUntil([&] { return main.IsEnabled(IDC_NEXT); })) << session.Diagnose();
}
