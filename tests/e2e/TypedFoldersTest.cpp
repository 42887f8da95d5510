// The folders typed on the wizard's folder pages: the install folder is checked as it is typed,
// on its own drive, and Next is offered only for a full local path with room; Install is offered
// only for a start menu folder that the start menu step takes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Folders.h"
#include "InstallRun.h"
#include "Polling.h"
#include "SetupSession.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
// The medium announces exactly 2 MB, so that every figure of the page is known.
void AnnounceTwoMegabytes(const CSetupSession& session, const std::string& strProductDir = "Zanto")
{
    for (const char* pszIni : {"setup_en.ini", "setup_ger.ini"})
        WriteTextFile(session.MediumFile(pszIni), "Folder:" + strProductDir + "\r\nSize:1572864\r\nLanguageSize:524288\r\n");
}

// The space text with the free figure given, or blank as for an empty folder.
std::string SpaceInfo(bool bEnglish, const char* pszFree = "      ")
{
    return bEnglish ? std::string("Free space needed:\t     2 MB\nFree diskspace:\t\t") + pszFree + " MB"
                    : std::string("Ben\xF6tigter Speicherplatz:\t     2 MB\nFreier Speicherplatz\t") + pszFree + " MB";
}

// The free figure of the space text, or -1 when it is blank.
long FreeFigure(const std::string& strSpaceInfo)
{
    const std::string strFigure = strSpaceInfo.substr(strSpaceInfo.rfind('\t') + 1);
    return strFigure.compare(0, 6, "      ") == 0 ? -1 : std::strtol(strFigure.c_str(), nullptr, 10);
}

const bool s_abLanguages[] = {true, false};

std::string WithSlashes(std::string strPath)
{
    for (char& ch : strPath)
        if (ch == '\\')
            ch = '/';
    return strPath;
}

struct SFolderCase
{
    const char* pszWhat;
    std::string strTyped;
    // What the free figure reads; nullptr for a drive with room whose figure is not known.
    const char* pszFree;
    bool bNext;
};

// The folder cases of the page; test drives where the run has them.
std::vector<SFolderCase> FolderCases(const std::string& strGood)
{
    const std::string strParent = strGood.substr(0, strGood.find_last_of('\\'));
    std::vector<SFolderCase> cases = {
        {"empty", "", "      ", false},
        {"relative", "Spiele\\Zanto", "      ", false},
        {"a single name", "Zanto", "      ", false},
        {"without a drive", "\\Spiele\\Zanto", "      ", false},
        {"a drive without its root", "C:Zanto", "      ", false},
        {"a drive root alone", "C:\\", "      ", false},
        {"a \".\" component", strParent + "\\.\\Zanto", "      ", false},
        {"a \"..\" component", strGood + "\\..\\Zanto", "      ", false},
        {"\"..\" at the end", strGood + "\\..", "      ", false},
        {"a device name", strParent + "\\CON", "      ", false},
        {"a device name with an extension", strParent + "\\lpt1.txt\\Zanto", "      ", false},
        {"a network path", "\\\\server\\share\\Zanto", "      ", false},
        {"a network path with slashes", "//server/share/Zanto", "      ", false},
        {"forbidden characters", strParent + "\\Zanto <1>", "      ", false},
        {"a trailing dot", strParent + "\\Zanto.", "      ", false},
        {"a trailing blank", strParent + "\\Zanto \\x", "      ", false},
        {"a drive letter that is no letter", "1:\\Zanto", "      ", false},
        {"a drive that does not exist", "Q:\\Zanto", "      ", false},
        {"the folder itself", strGood, nullptr, true},
        {"a trailing backslash", strGood + "\\", nullptr, true},
        {"slashes", WithSlashes(strGood), nullptr, true},
        {"the picker's doubled backslash after the drive root", "C:\\\\" + strGood.substr(3), nullptr, true},
    };
    if (const char* pszSmall = std::getenv("ZANTO_SMALL_DRIVE"))
        cases.push_back({"another drive, full", std::string(pszSmall) + ":\\Zanto", "     1", false});
    if (const char* pszBig = std::getenv("ZANTO_BIG_DRIVE"))
        cases.push_back({"another drive with room", std::string(pszBig) + ":\\Spiele\\Zanto", "5242880", true});
    return cases;
}
}

// Every folder typed on the folder page is checked at once, on its own drive: the space text and
// Next follow each change, also back and forth between good and bad folders.
TEST(TypedInstallFolderTest, ThePageJudgesEveryTypedFolder)
{
    for (const bool bEnglish : s_abLanguages)
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CInstallTarget target;
        AnnounceTwoMegabytes(session);
        CWindowDriver main = session.StartInLanguage(bEnglish);
        ASSERT_TRUE(WalkTo(main, 3)) << session.Diagnose();
        for (const SFolderCase& c : FolderCases(target.InstallDir()))
        {
            SCOPED_TRACE(std::string(c.pszWhat) + ": \"" + c.strTyped + "\"");
            main.SetText(IDC_INSTALL_DIR, c.strTyped);
            Settle(main);
            const std::string strSpaceInfo = main.GetText(IDC_SPACE_INFO);
            if (c.pszFree != nullptr)
                EXPECT_EQ(SpaceInfo(bEnglish, c.pszFree), strSpaceInfo);
            else
            {
                EXPECT_EQ(SpaceInfo(bEnglish).substr(0, SpaceInfo(bEnglish).rfind('\t') + 1),
                          strSpaceInfo.substr(0, strSpaceInfo.rfind('\t') + 1));
                EXPECT_GT(FreeFigure(strSpaceInfo), 2);
            }
            EXPECT_EQ(c.bNext, main.IsEnabled(IDC_NEXT));
        }
        // A folder that is refused cannot be passed.
        main.SetText(IDC_INSTALL_DIR, "\\Spiele\\Zanto");
        main.Click(IDC_NEXT);
        EXPECT_FALSE(WaitUntil([&] { return PageOf(main) != 3; }, 2000)) << "now on page " << PageOf(main);
        EXPECT_TRUE(session.Process().IsRunning());
    }
}

// The forms that stay valid are installed in the installation's own form, and Deinstall removes
// them again.
TEST(TypedInstallFolderTest, ValidFormsInstallAndDeinstallRemovesThem)
{
    struct SForm
    {
        const char* pszWhat;
        std::string (*pfnType)(const std::string&);
    };
    const SForm aForms[] = {
        {"a trailing backslash", [](const std::string& strFolder) { return strFolder + "\\"; }},
        {"slashes", [](const std::string& strFolder) { return WithSlashes(strFolder); }},
        {"a doubled backslash after the drive root",
         [](const std::string& strFolder) { return strFolder.substr(0, 3) + "\\" + strFolder.substr(3); }},
    };
    for (const bool bEnglish : s_abLanguages)
        for (const SForm& form : aForms)
        {
            SCOPED_TRACE(std::string(bEnglish ? "English, " : "German, ") + form.pszWhat);
            CSetupSession session;
            CInstallTarget target;
            CWindowDriver main = session.StartInLanguage(bEnglish);
            InstallThroughWizard(session, main, bEnglish, form.pfnType(target.InstallDir()), target.MenuFolder());
            if (HasFatalFailure())
                return;
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
            EXPECT_EQ("", session.Diagnose());
        }
}

// A drive with room other than the preset folder's: the installation goes there, and Deinstall
// takes it away again.
TEST(TypedInstallFolderTest, AnotherDriveWithRoomInstallsThere)
{
    const char* pszBig = std::getenv("ZANTO_BIG_DRIVE");
    if (pszBig == nullptr)
        GTEST_SKIP() << "no test drive: mounting is not allowed here";
    for (const bool bEnglish : s_abLanguages)
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CInstallTarget target;
        const std::string strInstallDir = std::string(pszBig) + ":\\Zanto typed";
        RemoveFolder(strInstallDir);
        CWindowDriver main = session.StartInLanguage(bEnglish);
        InstallThroughWizard(session, main, bEnglish, strInstallDir + "\\", target.MenuFolder());
        if (HasFatalFailure())
            return;
        EXPECT_EQ(strInstallDir, RecordValues()["InstallLocation"]);
        EXPECT_TRUE(FileExists(strInstallDir + "\\Zanto Demo.exe"));
        EXPECT_TRUE(FileExists(strInstallDir + "\\uninstall.dat"));

        main.Click(IDC_INSTALL);
        AnswerBox(session,
                  Text(bEnglish, "Do you really want to deinstall this game ?", "Wollen Sie Zanto wirklich Deinstallieren ?"),
                  IDYES);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(WaitUntil([&] { return main.GetText(IDC_INSTALL) == Text(bEnglish, "Install", "Installieren"); }))
            << session.Diagnose();
        EXPECT_FALSE(FileExists(strInstallDir)) << testing::PrintToString(FilesBelow(strInstallDir));
        EXPECT_FALSE(FileExists(target.MenuPath()));
        EXPECT_TRUE(RecordValues().empty());
        RemoveFolder(strInstallDir);
    }
}

// The product folder name of the configuration goes into the preset install folder and start
// menu folder: with such parts, neither page lets the installation go on.
TEST(TypedInstallFolderTest, AProductFolderNameWithDotsOrADeviceMakesThePresetFoldersInvalid)
{
    for (const char* pszProduct : {"..\\Zanto", ".", "Zanto\\..\\..", "NUL"})
        for (const bool bEnglish : s_abLanguages)
        {
            SCOPED_TRACE(std::string(bEnglish ? "English, " : "German, ") + "product folder \"" + pszProduct + "\"");
            CSetupSession session;
            CInstallTarget target;
            AnnounceTwoMegabytes(session, pszProduct);
            CWindowDriver main = session.StartInLanguage(bEnglish);
            ASSERT_TRUE(WalkTo(main, 3)) << session.Diagnose();
            EXPECT_EQ(DefaultInstallFolder().substr(0, DefaultInstallFolder().size() - 5) + pszProduct,
                      main.GetText(IDC_INSTALL_DIR));
            EXPECT_EQ(SpaceInfo(bEnglish), main.GetText(IDC_SPACE_INFO));
            EXPECT_FALSE(main.IsEnabled(IDC_NEXT));

            // A good folder typed over it leads on; the start menu folder is the product's too.
            main.SetText(IDC_INSTALL_DIR, target.InstallDir());
            ASSERT_TRUE(WaitUntil([&] { return main.IsEnabled(IDC_NEXT); })) << session.Diagnose();
            ASSERT_TRUE(GoForward(main, 3)) << session.Diagnose();
            EXPECT_EQ(std::string("\\") + pszProduct, main.GetText(IDC_MENU_FOLDER));
            EXPECT_FALSE(main.IsEnabled(IDC_NEXT));
            main.SetText(IDC_MENU_FOLDER, target.MenuFolder());
            Settle(main);
            EXPECT_TRUE(main.IsEnabled(IDC_NEXT));
        }
}

// Install is offered on the start menu page only while the field holds a folder that the start
// menu step takes: one that climbs out of the programs folder, names a device, holds characters
// that Windows forbids or ends in a blank or dot, or whose shortcuts would not fit MAX_PATH, would
// fail the installation only at its end.
TEST(TypedMenuFolderTest, InstallIsOfferedOnlyForAFolderTheMenuStepTakes)
{
    for (const bool bEnglish : s_abLanguages)
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CInstallTarget target;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        ASSERT_TRUE(WalkToMenuPage(main, target)) << session.Diagnose();
        // The German shortcut names are the longer ones: each language has its own limit.
        const size_t nLongest = MAX_PATH - 1 - ProgramsFolder().size() - 1 -
                                std::string(bEnglish ? "\\Deinstall Zanto.lnk" : "\\Zanto deinstallieren.lnk").size();
        const struct
        {
            const char* pszWhat;
            std::string strTyped;
            bool bInstall;
        } aCases[] = {
            {"the test's folder", target.MenuFolder(), true},
            {"the programs folder itself", "", true},
            {"slashes", "/Zanto/" + target.MenuFolder().substr(1), true},
            {"longest that fits", "\\" + std::string(nLongest, 'n'), true},
            {"\"..\"", "\\..", false},
            {"\"..\" in front", "\\.." + target.MenuFolder(), false},
            {"\"..\" with slashes", "/../.." + target.MenuFolder(), false},
            {"up to the drive root", "\\..\\..\\..\\..\\..\\..\\..\\..\\Zanto", false},
            {"\".\"", "\\.\\Zanto", false},
            {"a drive", "\\C:\\Zanto", false},
            {"forbidden characters", target.MenuFolder() + " a|b", false},
            {"a question mark", target.MenuFolder() + "?", false},
            {"a device name", "\\CON", false},
            {"a trailing blank", target.MenuFolder() + " ", false},
            {"a trailing dot", target.MenuFolder() + ".", false},
            {"one character too long", "\\" + std::string(nLongest + 1, 'n'), false},
        };
        for (const auto& c : aCases)
        {
            SCOPED_TRACE(std::string(c.pszWhat) + ": \"" + c.strTyped + "\"");
            main.SetText(IDC_MENU_FOLDER, c.strTyped);
            Settle(main);
            EXPECT_EQ(c.bInstall, main.IsEnabled(IDC_NEXT));
            EXPECT_EQ(4, PageOf(main));
        }
        EXPECT_TRUE(RecordValues().empty());
        EXPECT_FALSE(FileExists(target.InstallDir()));
    }
}
