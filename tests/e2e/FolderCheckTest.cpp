#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "SetupSession.h"
#include "TestDrives.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
// The free figure of the folder page as it reads for a folder that cannot be asked: six blanks.
bool ShowsNoFreeSpace(const std::string& strSpaceInfo)
{
    const std::string strEnd = "\t       MB";
    return strSpaceInfo.size() > strEnd.size() &&
           strSpaceInfo.compare(strSpaceInfo.size() - strEnd.size(), strEnd.size(), strEnd) == 0;
}

struct SFolderCase
{
    const char* pszName;
    std::string strFolder;
    bool bUsable;
    // A folder that is no full local path, or whose drive cannot be asked, shows no free figure.
    bool bFigures = bUsable;
};

// The folder page with strFolder typed in: what it shows, and whether Next leads on.
void ExpectFolderPage(const CWindowDriver& main, const SFolderCase& test)
{
    SCOPED_TRACE(std::string(test.pszName) + ": \"" + test.strFolder + "\"");
    main.SetText(IDC_INSTALL_DIR, test.strFolder);
    Settle(main);
    EXPECT_EQ(test.bUsable, main.IsEnabled(IDC_NEXT));
    EXPECT_NE(test.bFigures, ShowsNoFreeSpace(main.GetText(IDC_SPACE_INFO))) << main.GetText(IDC_SPACE_INFO);
}
}

// Every typed folder is checked as it is typed: only a full local path on a drive with room
// leads on, and a folder that is none shows the figures of an empty one.
TEST(FolderCheckTest, TypedInstallFoldersAreCheckedAsTheyAreTyped)
{
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CInstallTarget target;
        const std::string strRest = target.InstallDir().substr(3);
        std::string strSlashes = target.InstallDir();
        for (char& ch : strSlashes)
            if (ch == '\\')
                ch = '/';
        const SFolderCase aCases[] = {
            {"empty", "", false},
            {"relative", "Zanto", false},
            {"relative with folders", "Spiele\\Zanto", false},
            {"without a drive", "\\Spiele\\Zanto", false},
            {"drive-relative", "C:Zanto", false},
            {"a drive root", "C:\\", false},
            {"a network path", "\\\\server\\share\\Zanto", false},
            {"a parent component", target.InstallDir() + "\\..\\Zanto", false},
            {"a dot component", "C:\\.\\" + strRest, false},
            {"a device name", "C:\\CON", false},
            {"a device name with an extension", target.InstallDir() + "\\nul.txt", false},
            {"a forbidden character", target.InstallDir() + "\\a|b", false},
            {"a trailing dot", target.InstallDir() + ".", false},
            {"a trailing blank in a name", target.InstallParent() + " \\Zanto", false},
            {"a drive that is not there", "Q:\\Zanto", false},
            {"the folder", target.InstallDir(), true},
            {"a trailing backslash", target.InstallDir() + "\\", true},
            {"forward slashes", strSlashes, true},
            {"the picker's doubled backslash", "C:\\\\" + strRest, true},
        };
        CWindowDriver main = session.StartInLanguage(bEnglish);
        ASSERT_TRUE(WalkTo(main, 3)) << session.Diagnose();
        for (const SFolderCase& test : aCases)
            ExpectFolderPage(main, test);

        // S: has 5 TiB free, T: 1 MiB, less than the demo needs.
        if (HaveTestDrivesOrSay())
        {
            ExpectFolderPage(main, {"a drive with room", TestDriveLetter("ZANTO_BIG_DRIVE") + ":\\Zanto", true});
            EXPECT_NE(std::string::npos, main.GetText(IDC_SPACE_INFO).find("5242880 MB"));
            ExpectFolderPage(main, {"a full drive", TestDriveLetter("ZANTO_SMALL_DRIVE") + ":\\Zanto", false, true});
            EXPECT_NE(std::string::npos, main.GetText(IDC_SPACE_INFO).find("     1 MB"));
        }

        // A click on the disabled Next (Wine's button passes it on) leads nowhere.
        main.SetText(IDC_INSTALL_DIR, "\\Spiele\\Zanto");
        Settle(main);
        main.Click(IDC_NEXT);
        ASSERT_TRUE(WaitForPostedInputHandled(main)) << session.Diagnose();
        EXPECT_EQ(3, PageOf(main));
        EXPECT_EQ("", session.Diagnose());
    }
}

// The folder is taken in the form the installation uses, and goes again with Deinstall.
TEST(FolderCheckTest, ValidFormsOfAFolderInstallAndGo)
{
    for (const bool bEnglish : {true, false})
        for (const char* pszForm : {"trailing backslash", "doubled backslash"})
        {
            SCOPED_TRACE(std::string(bEnglish ? "English, " : "German, ") + pszForm);
            CSetupSession session;
            CInstallTarget target;
            const std::string strTyped = std::string(pszForm) == "trailing backslash"
                                             ? target.InstallDir() + "\\"
                                             : "C:\\\\" + target.InstallDir().substr(3);
            CWindowDriver main = session.StartInLanguage(bEnglish);
            InstallThroughWizard(session, main, bEnglish, strTyped, target.MenuFolder());
            if (HasFatalFailure())
                return;
            EXPECT_EQ(target.InstallDir(), RecordValues()["InstallLocation"]);
            ExpectCompleteInstallation(bEnglish, target);
            Deinstall(session, main, bEnglish);
            ASSERT_TRUE(WaitForInstallOffered(main, bEnglish)) << session.Diagnose();
            EXPECT_FALSE(FileExists(target.InstallParent()));
            EXPECT_FALSE(FileExists(target.MenuPath()));
        }
}

// A product folder name with parts that climb out makes the proposed folder unusable from the start.
TEST(FolderCheckTest, AProductFolderNameThatClimbsOutLeavesNextDisabled)
{
    for (const bool bEnglish : {true, false})
        for (const char* pszProduct : {"..\\Zanto", "..", "Zanto\\..\\..", "CON"})
        {
            SCOPED_TRACE(std::string(bEnglish ? "English, " : "German, ") + pszProduct);
            CSetupSession session;
            const std::string strConfig = ReadFileBytes(session.MediumFile(bEnglish ? "setup_en.ini" : "setup_ger.ini"));
            const std::string strRest = strConfig.substr(strConfig.find('\n'));
            WriteTextFile(session.MediumFile(bEnglish ? "setup_en.ini" : "setup_ger.ini"),
                          std::string("Folder:") + pszProduct + strRest);
            CWindowDriver main = session.StartInLanguage(bEnglish);
            ASSERT_TRUE(WalkTo(main, 3)) << session.Diagnose();
            Settle(main);
            EXPECT_FALSE(main.IsEnabled(IDC_NEXT)) << main.GetText(IDC_INSTALL_DIR);
            EXPECT_TRUE(ShowsNoFreeSpace(main.GetText(IDC_SPACE_INFO))) << main.GetText(IDC_SPACE_INFO);
        }
}

// A start menu folder that the start menu step would refuse keeps Install disabled while it is typed.
TEST(FolderCheckTest, AStartMenuFolderThatWouldFailKeepsInstallDisabled)
{
    struct SMenuCase
    {
        const char* pszFolder;
        bool bUsable;
    };
    const SMenuCase aCases[] = {
        {"\\..", false},        {"\\Zanto\\..\\..\\out", false}, {"\\Zanto a|b", false}, {"\\CON", false},
        {"\\Zanto ", false},    {"\\C:\\x", false},               {"\\\\Zanto", false},   {"/../Zanto", false},
        {"\\Zanto Test", true}, {"/Games/Zanto", true},           {"", true},
    };
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CInstallTarget target;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        ASSERT_TRUE(WalkToMenuPage(main, target)) << session.Diagnose();
        for (const SMenuCase& test : aCases)
        {
            main.SetText(IDC_MENU_FOLDER, test.pszFolder);
            Settle(main);
            EXPECT_EQ(test.bUsable, main.IsEnabled(IDC_NEXT)) << test.pszFolder;
        }
        const std::string strLong = target.MenuFolder() + "\\" + std::string(240, 'x');
        main.SetText(IDC_MENU_FOLDER, strLong);
        Settle(main);
        EXPECT_FALSE(main.IsEnabled(IDC_NEXT)) << "a shortcut path beyond MAX_PATH";
        EXPECT_EQ("", session.Diagnose());
    }
}

// WM_USER + 1, the progress report's number, from another program: on the start page, on the
// folder page and in the middle of an installation it changes nothing, and the installation ends
// as usual.
TEST(StrayMessageTest, AProgressNumberFromAnotherProgramIsNoReport)
{
    const auto sendStrays = [](const CWindowDriver& main) {
        for (const WPARAM wParam : {WPARAM(0), WPARAM(1), WPARAM(0x12345678), ~WPARAM(0)})
        {
            DWORD_PTR dwResult = 0;
            SendMessageTimeoutA(main.GetHwnd(), WM_USER + 1, wParam, 42, SMTO_ABORTIFHUNG, 5000, &dwResult);
            PostMessageA(main.GetHwnd(), WM_USER + 1, wParam, 42);
        }
        Settle(main);
    };
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CInstallTarget target;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        sendStrays(main);
        ASSERT_TRUE(WalkTo(main, 3)) << session.Diagnose();
        sendStrays(main);
        main.SetText(IDC_INSTALL_DIR, target.InstallDir());
        ASSERT_TRUE(GoForward(main, 3)) << session.Diagnose();
        main.SetText(IDC_MENU_FOLDER, target.MenuFolder());
        // The cancel question holds the installation in the middle of its first step.
        StartInstallAndCancel(main);
        const HWND hQuestion = WaitForMessageBoxText(session.Process().GetPid(), CancelQuestion(bEnglish));
        ASSERT_NE(nullptr, hQuestion) << session.Diagnose();
        sendStrays(main);
        ASSERT_TRUE(session.Process().IsRunning());
        AnswerMessageBox(hQuestion, IDNO);
        AnswerBox(session, SuccessMessage(bEnglish), IDOK);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
        ExpectCompleteInstallation(bEnglish, target);
        Deinstall(session, main, bEnglish);
        ASSERT_TRUE(WaitForInstallOffered(main, bEnglish)) << session.Diagnose();
    }
}
