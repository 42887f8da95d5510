#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "DriverError.h"
#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "SetupSession.h"
#include "WindowFinder.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
// The identifiers of the page controls that are shown, in the order of g_anPageControls.
std::string ShownControls(const CWindowDriver& main)
{
    std::string strShown;
    for (const int nID : g_anPageControls)
        if (main.IsVisible(nID))
            strShown += std::to_string(nID) + " ";
    return strShown;
}

std::string ListOf(std::initializer_list<int> anShown)
{
    std::string strShown;
    for (const int nID : g_anPageControls)
        for (const int nWanted : anShown)
            if (nID == nWanted)
                strShown += std::to_string(nID) + " ";
    return strShown;
}

void PressEnter(HWND hTarget)
{
    PostMessageA(hTarget, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(hTarget, WM_KEYUP, VK_RETURN, 0xC0000000);
}

bool FocusControl(const CWindowDriver& main, int nID)
{
    const HWND hControl = main.GetControl(nID);
    PostMessageA(main.GetHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hControl), TRUE);
    return WaitUntil([&] { return FocusOf(main.GetHwnd()) == hControl; });
}

// Every line ended by CR LF, the last one too; a line end at the very end adds no empty line.
std::string WithWindowsLineEnds(const std::string& strText)
{
    std::string strResult;
    size_t nStart = 0;
    while (nStart < strText.size())
    {
        size_t nEnd = strText.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = strText.size();
        std::string strLine = strText.substr(nStart, nEnd - nStart);
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        strResult += strLine + "\r\n";
        nStart = nEnd + 1;
    }
    return strResult;
}

std::string WithUnixLineEnds(const std::string& strText)
{
    std::string strResult;
    for (const char ch : strText)
        if (ch != '\r')
            strResult += ch;
    return strResult;
}

std::string ProgramFilesDir()
{
    char szDir[MAX_PATH] = {};
    DWORD nSize = sizeof(szDir);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                     RRF_RT_REG_SZ, nullptr, szDir, &nSize) != ERROR_SUCCESS)
        throw CDriverError("no ProgramFilesDir");
    return szDir;
}

unsigned long long FreeMegabytesOfC()
{
    ULARGE_INTEGER nAvailable = {}, nTotal = {}, nFree = {};
    if (!GetDiskFreeSpaceExA("C:\\", &nAvailable, &nTotal, &nFree))
        throw CDriverError("no free space of C:");
    return nFree.QuadPart >> 20;
}
}

// The controls each page shows, Next and Cancel as the user meets them going forward. The
// installation page is up while the installation runs: it is looked at while the cancel question,
// queued behind Next, is open, and the installation then goes on to its end.
TEST(WizardWalkTest, EveryPageShowsItsOwnControls)
{
    struct SPage
    {
        int nPage;
        std::string strShown;
        bool bNextEnabled;
        const char* pszNextEnglish;
        const char* pszNextGerman;
        const char* pszCancelEnglish;
        const char* pszCancelGerman;
    };
    const SPage aPages[] = {
        {0, ListOf({IDC_INSTALL, IDC_PLAY}), true, "Next", "Weiter", "Quit", "Beenden"},
        {1, ListOf({IDC_NEXT, IDC_LICENSE_FRAME, IDC_LICENSE_TEXT, IDC_ACCEPT}), false, "Next", "Weiter", "Cancel",
         "Abbrechen"},
        {3, ListOf({IDC_NEXT, IDC_INSTALL_DIR, IDC_BROWSE, IDC_DIR_FRAME, IDC_SPACE_INFO}), true, "Next", "Weiter",
         "Cancel", "Abbrechen"},
        {4, ListOf({IDC_NEXT, IDC_MENU_FRAME, IDC_MENU_FOLDER}), true, "Install", "Installieren", "Cancel",
         "Abbrechen"},
        {5, ListOf({IDC_PROGRESS, IDC_STATUS, IDC_PERCENT}), true, "Install", "Installieren", "Cancel", "Abbrechen"},
    };
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CInstallTarget target;
        CSetupSession session;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
        HWND hQuestion = nullptr;
        int nPrevious = -1;
        for (const SPage& page : aPages)
        {
            SCOPED_TRACE("page " + std::to_string(page.nPage));
            if (nPrevious == 4)
            {
                StartInstallAndCancel(main);
                hQuestion = WaitForMessageBoxText(session.Process().GetPid(), CancelQuestion(bEnglish),
                                                  ETextMatch::Equals, 30000);
                ASSERT_NE(nullptr, hQuestion) << "no cancel question" << session.Diagnose();
            }
            else if (nPrevious >= 0)
            {
                ASSERT_TRUE(GoForward(main, nPrevious)) << session.Diagnose();
            }
            nPrevious = page.nPage;
            EXPECT_EQ(page.strShown, ShownControls(main));
            EXPECT_EQ(page.bNextEnabled, main.IsEnabled(IDC_NEXT));
            EXPECT_EQ(Text(bEnglish, page.pszNextEnglish, page.pszNextGerman), main.GetText(IDC_NEXT));
            EXPECT_TRUE(main.IsVisible(IDCANCEL));
            EXPECT_TRUE(main.IsEnabled(IDCANCEL));
            EXPECT_EQ(Text(bEnglish, page.pszCancelEnglish, page.pszCancelGerman), main.GetText(IDCANCEL));
            if (page.nPage == 0)
            {
                EXPECT_EQ(Text(bEnglish, "Install", "Installieren"), main.GetText(IDC_INSTALL));
                EXPECT_TRUE(main.IsEnabled(IDC_INSTALL));
                EXPECT_FALSE(main.IsEnabled(IDC_PLAY)) << "Play without an installation";
            }
            if (page.nPage == 1)
            {
                EXPECT_EQ(BST_UNCHECKED, main.GetCheck(IDC_ACCEPT));
            }
            if (page.nPage == 3)
            {
                main.SetText(IDC_INSTALL_DIR, target.InstallDir());
            }
            if (page.nPage == 4)
            {
                main.SetText(IDC_MENU_FOLDER, target.MenuFolder());
            }
        }
        AnswerMessageBox(hQuestion, IDNO);
        AnswerBox(session, SuccessMessage(bEnglish), IDOK);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
        EXPECT_EQ(Text(bEnglish, "Deinstall", "Deinstallieren"), main.GetText(IDC_INSTALL));
        EXPECT_TRUE(session.Process().IsRunning());
    }
}

TEST(WizardWalkTest, LicenceShowsTheFileOfTheLanguageWithWindowsLineEnds)
{
    struct SLicence
    {
        const char* pszName;
        std::string (*fnRewrite)(const std::string&);
    };
    const SLicence aLicences[] = {
        {"as on the medium", [](const std::string& str) { return str; }},
        {"Unix line ends", WithUnixLineEnds},
        {"last line without its end",
         [](const std::string& str) { return str.substr(0, str.find_last_not_of("\r\n") + 1); }},
    };
    for (const bool bEnglish : {true, false})
    {
        for (const SLicence& licence : aLicences)
        {
            SCOPED_TRACE(std::string(bEnglish ? "English, " : "German, ") + licence.pszName);
            CSetupSession session;
            const std::string strFile = session.MediumFile(bEnglish ? "eula_en.txt" : "eula.txt");
            const std::string strContent = licence.fnRewrite(ReadFileBytes(strFile));
            WriteTextFile(strFile, strContent);
            CWindowDriver main = session.StartInLanguage(bEnglish);
            ASSERT_TRUE(GoForward(main, 0)) << session.Diagnose();

            const std::string strShown = main.GetText(IDC_LICENSE_TEXT);
            EXPECT_EQ(WithWindowsLineEnds(strContent), strShown);
            // The other language's licence must not have been taken.
            EXPECT_EQ(bEnglish, strShown.find("LIZENZ") == std::string::npos);
        }
    }
}

TEST(WizardWalkTest, NextIsEnabledExactlyWhileTheLicenceIsAccepted)
{
    CSetupSession session;
    CWindowDriver main = session.StartInLanguage(false);
    ASSERT_TRUE(GoForward(main, 0)) << session.Diagnose();
    ASSERT_EQ(BST_UNCHECKED, main.GetCheck(IDC_ACCEPT));
    ASSERT_FALSE(main.IsEnabled(IDC_NEXT));

    for (const int nExpected : {BST_CHECKED, BST_UNCHECKED, BST_CHECKED})
    {
        SCOPED_TRACE(nExpected == BST_CHECKED ? "ticked" : "cleared");
        main.Click(IDC_ACCEPT);
        ASSERT_TRUE(WaitUntil([&] { return main.GetCheck(IDC_ACCEPT) == nExpected; })) << session.Diagnose();
        Settle(main);
        EXPECT_EQ(nExpected == BST_CHECKED, main.IsEnabled(IDC_NEXT));
        EXPECT_EQ(1, PageOf(main));
    }
}

TEST(WizardWalkTest, FolderPagesOfferTheDefaultFoldersAndTheFreeSpace)
{
    const std::string strDefaultFolder = ProgramFilesDir() + "\\Zanto";
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        ASSERT_TRUE(WalkTo(main, 3)) << session.Diagnose();

        EXPECT_EQ(strDefaultFolder, main.GetText(IDC_INSTALL_DIR));
        const std::string strPrefix = Text(bEnglish, "Free space needed:\t     2 MB\nFree diskspace:\t\t",
                                           "Ben\xF6tigter Speicherplatz:\t     2 MB\nFreier Speicherplatz\t");
        const std::string strInfo = main.GetText(IDC_SPACE_INFO);
        ASSERT_EQ(strPrefix, strInfo.substr(0, strPrefix.size())) << strInfo;
        ASSERT_GE(strInfo.size(), strPrefix.size() + 9) << strInfo;
        ASSERT_EQ(" MB", strInfo.substr(strInfo.size() - 3)) << strInfo;
        const std::string strFree = strInfo.substr(strPrefix.size(), strInfo.size() - strPrefix.size() - 3);
        char szFormatted[32];
        const long nShownFree = std::strtol(strFree.c_str(), nullptr, 10);
        std::snprintf(szFormatted, sizeof(szFormatted), "%6ld", nShownFree);
        EXPECT_EQ(szFormatted, strFree) << "printed with a width of six";
        // Other programs write to the same drive meanwhile.
        const double dFree = static_cast<double>(FreeMegabytesOfC());
        EXPECT_NEAR(dFree, static_cast<double>(nShownFree), dFree / 100 + 1);
        EXPECT_TRUE(main.IsEnabled(IDC_NEXT));

        ASSERT_TRUE(GoForward(main, 3)) << session.Diagnose();
        EXPECT_EQ("\\Zanto", main.GetText(IDC_MENU_FOLDER));
    }
}

// Enter sends the OK command: it stands for Next where Next is shown and enabled, and does
// nothing elsewhere. On the start menu page it starts the installation, which runs in the
// command with its page up until its message is answered. While the installation runs, the
// focus stands on Cancel, the page's only button: Enter presses it as a click would, and the
// question comes; No lets the installation finish.
TEST(WizardWalkTest, EnterActsAsNextOnlyWhereNextIsOffered)
{
    struct SEnter
    {
        const char* pszName;
        int nPage;
        bool bAccepted;
        int nFocusID; // 0: wherever the focus is
        int nExpectedPage;
    };
    const SEnter aCases[] = {
        {"start page", 0, false, 0, 0},
        {"licence not accepted", 1, false, IDC_ACCEPT, 1},
        {"licence accepted", 1, true, IDC_ACCEPT, 3},
        {"install folder", 3, false, IDC_INSTALL_DIR, 4},
        {"start menu folder", 4, false, IDC_MENU_FOLDER, 5},
        {"installation", 5, false, IDC_MENU_FOLDER, 5},
    };
    for (const SEnter& test : aCases)
    {
        SCOPED_TRACE(test.pszName);
        CInstallTarget target;
        CSetupSession session;
        CWindowDriver main = session.StartInLanguage(true);
        if (test.nPage >= 4)
        {
            ASSERT_TRUE(WalkToMenuPage(main, target)) << session.Diagnose();
        }
        else
        {
            ASSERT_TRUE(WalkTo(main, test.nPage)) << session.Diagnose();
        }
        if (test.bAccepted)
        {
            main.Click(IDC_ACCEPT);
            ASSERT_TRUE(WaitUntil([&] { return main.IsEnabled(IDC_NEXT); })) << session.Diagnose();
        }
        if (test.nFocusID != 0)
        {
            ASSERT_TRUE(FocusControl(main, test.nFocusID));
        }
        const HWND hFocus = FocusOf(main.GetHwnd());
        ASSERT_NE(nullptr, hFocus);

        CBoxWatch watch(session);
        // The key waits in the queue behind the click until the installation first empties it.
        if (test.nPage == 5)
            main.Click(IDC_NEXT);
        PressEnter(hFocus);
        if (test.nPage == 5)
        {
            const HWND hQuestion = watch.WaitForBox(CancelQuestion(true));
            ASSERT_NE(nullptr, hQuestion) << "no cancel question" << session.Diagnose();
            AnswerMessageBox(hQuestion, IDNO);
        }
        if (test.nExpectedPage == 5)
        {
            const HWND hBox = watch.WaitForBox(SuccessMessage(true));
            ASSERT_NE(nullptr, hBox) << "no success message" << session.Diagnose();
            EXPECT_EQ(5, PageOf(main));
            AnswerMessageBox(hBox, IDOK);
            ASSERT_TRUE(WaitForWindowGone(hBox)) << session.Diagnose();
            EXPECT_TRUE(watch.WaitUntil([&] { return PageOf(main) == 0; })) << session.Diagnose();
            // A second installation or a failure would show its message right after.
            watch.Watch(500);
            std::vector<std::string> expected;
            if (test.nPage == 5)
                expected.push_back(CancelQuestion(true));
            expected.push_back(SuccessMessage(true));
            EXPECT_EQ(expected, watch.Texts());
            EXPECT_EQ("Deinstall", main.GetText(IDC_INSTALL));
            EXPECT_FALSE(RecordValues().empty());
        }
        else if (test.nExpectedPage != test.nPage)
        {
            EXPECT_TRUE(WaitForPage(main, test.nExpectedPage)) << session.Diagnose();
        }
        else
        {
            ASSERT_TRUE(WaitForPostedInputHandled(main)) << session.Diagnose();
        }
        if (test.nExpectedPage != 5)
        {
            EXPECT_EQ(test.nExpectedPage, PageOf(main));
        }
        EXPECT_TRUE(session.Process().IsRunning());
    }
}
