#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "InstallRun.h"
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

// The question that cancelling after the start page asks, checked to be a Yes/No question.
HWND WaitForQuestion(CSetupSession& session, bool bEnglish, DWORD dwTimeoutMs = kDefaultTimeoutMs)
{
    const HWND hBox = WaitForMessageBoxText(session.Process().GetPid(), CancelQuestion(bEnglish), ETextMatch::Equals,
                                            dwTimeoutMs);
    if (hBox == nullptr)
        return nullptr;
    EXPECT_EQ("ZantoSetup", ReadMessageBoxCaption(hBox));
    EXPECT_NE(nullptr, GetDlgItem(hBox, IDYES));
    EXPECT_NE(nullptr, GetDlgItem(hBox, IDNO));
    EXPECT_EQ(nullptr, GetDlgItem(hBox, IDOK));
    EXPECT_EQ(nullptr, GetDlgItem(hBox, IDCANCEL));
    return hBox;
}

void AnswerQuestion(CSetupSession& session, bool bEnglish, int nAnswer)
{
    const HWND hBox = WaitForQuestion(session, bEnglish);
    ASSERT_NE(nullptr, hBox) << "no question" << session.Diagnose();
    AnswerMessageBox(hBox, nAnswer);
    ASSERT_TRUE(WaitForWindowGone(hBox)) << session.Diagnose();
}
}

TEST(WizardCancelTest, AfterTheStartPageCancelAsksAndYesGoesBackToTheStart)
{
    for (const bool bEnglish : {true, false})
    {
        // Before the installation: Next on the start menu page installs (see the test below).
        for (const int nPage : {1, 3, 4})
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
                    ExpectStartPageWithoutInstallation(main, bEnglish);
                }
                EXPECT_TRUE(session.Process().IsRunning());
            }
        }
    }
}

// The installation page is up only while the installation runs in the click on Next: the cancel
// is queued behind that click and asked while the first file is written. No lets the
// installation finish; Yes removes it and goes back to the start.
TEST(WizardCancelTest, DuringTheInstallationCancelAsksOnTheInstallationPage)
{
    for (const bool bEnglish : {true, false})
    {
        for (const int nAnswer : {IDNO, IDYES})
        {
            SCOPED_TRACE(std::string(bEnglish ? "English" : "German") + (nAnswer == IDYES ? ", Yes" : ", No"));
            CInstallTarget target;
            CSetupSession session;
            CWindowDriver main = session.StartInLanguage(bEnglish);
            ASSERT_TRUE(WalkToMenuPage(main, target)) << session.Diagnose();

            StartInstallAndCancel(main);
            const HWND hBox = WaitForQuestion(session, bEnglish, 30000);
            ASSERT_NE(nullptr, hBox) << "no question" << session.Diagnose();
            for (const int nID : s_anControls)
            {
                const bool bShown =
                    nID == IDCANCEL || nID == IDC_PROGRESS || nID == IDC_STATUS || nID == IDC_PERCENT;
                EXPECT_EQ(bShown, main.IsVisible(nID)) << "control " << nID;
            }
            EXPECT_EQ(Text(bEnglish, "Cancel", "Abbrechen"), main.GetText(IDCANCEL));
            EXPECT_TRUE(main.IsEnabled(IDCANCEL));
            const std::string strCopying = Text(bEnglish, "Copy file:\n", "Kopiere Datei:\n") + target.InstallDir();
            EXPECT_EQ(strCopying, main.GetText(IDC_STATUS).substr(0, strCopying.size()));
            EXPECT_EQ('%', main.GetText(IDC_PERCENT).back());

            AnswerMessageBox(hBox, nAnswer);
            ASSERT_TRUE(WaitForWindowGone(hBox)) << session.Diagnose();
            if (nAnswer == IDNO)
            {
                AnswerBox(session, SuccessMessage(bEnglish), IDOK);
                if (HasFatalFailure())
                    return;
                ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
                EXPECT_EQ(Text(bEnglish, "Deinstall", "Deinstallieren"), main.GetText(IDC_INSTALL));
                EXPECT_TRUE(main.IsEnabled(IDC_PLAY));
                EXPECT_FALSE(RecordValues().empty());
            }
            else
            {
                const std::string strInstall = Text(bEnglish, "Install", "Installieren");
                ASSERT_TRUE(WaitUntil([&] { return main.IsVisible(IDC_INSTALL) && main.GetText(IDC_INSTALL) == strInstall; }))
                    << session.Diagnose();
                Settle(main);
                ExpectStartPageWithoutInstallation(main, bEnglish);
                EXPECT_FALSE(FileExists(target.InstallDir()));
                EXPECT_TRUE(RecordValues().empty());
            }
            EXPECT_EQ("", session.Diagnose());
            EXPECT_TRUE(session.Process().IsRunning());
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

namespace
{
// Starts the installation and, queued behind Next, the way of cancelling; the first box that comes
// must be the question, on the installation page. No lets the installation finish.
void ExpectQuestionDuringTheInstallation(void (*fnCancel)(const CWindowDriver&, HWND hFocus))
{
    CInstallTarget target;
    CSetupSession session;
    CWindowDriver main = session.StartInLanguage(false);
    ASSERT_TRUE(WalkToMenuPage(main, target)) << session.Diagnose();
    const HWND hFocus = FocusOf(main.GetHwnd());
    ASSERT_NE(nullptr, hFocus);
    CBoxWatch watch(session);
    main.Click(IDC_NEXT);
    fnCancel(main, hFocus);
    // A box counts once its text could be read: a busy box is read at a later look.
    ASSERT_TRUE(watch.WaitUntil([&] { return !watch.Texts().empty(); })) << session.Diagnose();
    ASSERT_EQ(std::vector<std::string>{CancelQuestion(false)}, watch.Texts()) << session.Diagnose();
    EXPECT_EQ(5, PageOf(main));
    AnswerQuestion(session, false, IDNO);
    AnswerBox(session, SuccessMessage(false), IDOK);
}
}

// During the installation the program reads its queue between files itself, outside the
// wizard's own loop; the Cancel button and the close box must still reach it.
TEST(WizardCancelTest, CancelButtonAndCloseBoxAskDuringTheInstallation)
{
    struct SWay
    {
        const char* pszHow;
        void (*fnCancel)(const CWindowDriver&, HWND hFocus);
    };
    const SWay aWays[] = {
        {"Cancel button", [](const CWindowDriver& main, HWND) { main.Click(IDCANCEL); }},
        {"close box",
         [](const CWindowDriver& main, HWND) { PostMessageA(main.GetHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const SWay& way : aWays)
    {
        SCOPED_TRACE(way.pszHow);
        ExpectQuestionDuringTheInstallation(way.fnCancel);
        if (HasFatalFailure())
            return;
    }
}

// Escape asks during the installation as on every other page: the installation's queue reading
// lets the dialog manager turn it into Cancel.
TEST(WizardCancelTest, EscapeAsksDuringTheInstallation)
{
    ExpectQuestionDuringTheInstallation([](const CWindowDriver&, HWND hFocus) { PressKey(hFocus, VK_ESCAPE); });
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
