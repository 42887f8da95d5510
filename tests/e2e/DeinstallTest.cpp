#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FolderLink.h"
#include "Folders.h"
#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "MessageBoxIcon.h"
#include "Polling.h"
#include "SetupSession.h"
#include "WindowFinder.h"
#include "WizardPages.h"
#include "resource.h"

// A file that cannot be deleted stops the removal with the file error; the wizard goes back to
// its first page with the record intact, and a later Deinstall finishes the job.
TEST(DeinstallTest, AReadOnlyFileStopsTheRemovalAndDeinstallCanBeTriedAgain)
{
    CSetupSession session;
    CInstallTarget target;
    CWindowDriver main = session.StartInLanguage(true);
    InstallThroughWizard(session, main, true, target);
    if (HasFatalFailure())
        return;
    const std::string strLocked = target.InstallDir() + "\\data\\maps\\caves.map";
    ASSERT_TRUE(SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_READONLY));

    main.Click(IDC_INSTALL);
    AnswerBox(session, DeinstallQuestion(true), IDYES);
    if (HasFatalFailure())
        return;
    const HWND hError = WaitForMessageBoxText(session.Process().GetPid(), "Zugriff auf " + strLocked + " wurde verwehrt.");
    ASSERT_NE(nullptr, hError) << session.Diagnose();
    EXPECT_EQ(EMessageBoxIcon::Stop, ReadMessageBoxIcon(hError));
    EXPECT_NE(nullptr, GetDlgItem(hError, IDOK));
    EXPECT_EQ(nullptr, GetDlgItem(hError, IDCANCEL));
    AnswerMessageBox(hError, IDOK);
    ASSERT_TRUE(WaitForWindowGone(hError));

    ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
    EXPECT_EQ("Deinstall", main.GetText(IDC_INSTALL));
    EXPECT_TRUE(main.IsEnabled(IDC_INSTALL));
    EXPECT_TRUE(main.IsEnabled(IDC_PLAY));
    EXPECT_TRUE(main.IsEnabled(IDCANCEL));
    EXPECT_EQ("Quit", main.GetText(IDCANCEL));
    EXPECT_EQ(kRecordValueCount, RecordValues().size());
    EXPECT_TRUE(FileExists(strLocked));

    ASSERT_TRUE(SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_NORMAL));
    Deinstall(session, main);
    ASSERT_TRUE(WaitForInstallOffered(main)) << session.Diagnose();
    EXPECT_FALSE(FileExists(target.InstallDir()));
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_TRUE(RecordValues().empty());
    EXPECT_EQ("", session.Diagnose());
}

// Into a folder that was there before, Deinstall takes only what the installation brought and
// leaves the folder with what the user had put there.
TEST(DeinstallTest, AFolderThatExistedBeforeKeepsWhatWasThere)
{
    CSetupSession session;
    CInstallTarget target;
    CScopedFolder parent(target.InstallDir().substr(0, target.InstallDir().find_last_of('\\')));
    CScopedFolder folder(target.InstallDir());
    CreateDirectoryA((target.InstallDir() + "\\data").c_str(), nullptr);
    WriteTextFile(target.InstallDir() + "\\savegame.sav", "level 3");
    WriteTextFile(target.InstallDir() + "\\data\\mine.txt", "mine");
    CWindowDriver main = session.StartInLanguage(true);
    InstallThroughWizard(session, main, true, target);
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(FileExists(target.InstallDir() + "\\data\\maps\\caves.map"));

    Deinstall(session, main);
    ASSERT_TRUE(WaitForInstallOffered(main)) << session.Diagnose();
    EXPECT_EQ((std::vector<std::string>{"data\\mine.txt", "savegame.sav"}), FilesBelow(target.InstallDir()));
    EXPECT_FALSE(FileExists(target.InstallDir() + "\\data\\maps"));
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_TRUE(RecordValues().empty());
}

// Without the list of an installation nothing in its folder is known to be the installation's:
// Deinstall removes the shortcuts and the record, and every file of the folder stays.
TEST(DeinstallTest, WithoutTheListTheRecordedFolderKeepsEverything)
{
    CSetupSession session;
    CInstallTarget target;
    CWindowDriver main = session.StartInLanguage(true);
    InstallThroughWizard(session, main, true, target);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(DeleteFileA((target.InstallDir() + "\\uninstall.dat").c_str()));
    const std::vector<std::string> files = FilesBelow(target.InstallDir());
    Deinstall(session, main);
    ASSERT_TRUE(WaitForInstallOffered(main)) << session.Diagnose();
    EXPECT_EQ(files, FilesBelow(target.InstallDir()));
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_TRUE(RecordValues().empty());
}

// An empty start menu entry puts the shortcuts right into the programs folder: only they go.
TEST(DeinstallTest, ShortcutsInTheProgramsFolderItselfGoWithoutTheFolder)
{
    for (const bool bWithList : {true, false})
    {
        SCOPED_TRACE(bWithList ? "with the list" : "without the list");
        CSetupSession session;
        CInstallTarget target;
        const std::string strNeighbour = ProgramsFolder() + "\\Neighbour.lnk";
        WriteTextFile(strNeighbour, "not ours");
        CWindowDriver main = session.StartInLanguage(true);
        InstallThroughWizard(session, main, true, target.InstallDir(), "");
        if (HasFatalFailure())
            return;
        EXPECT_EQ(ProgramsFolder(), RecordValues()["Startmenu"]);
        EXPECT_TRUE(FileExists(ProgramsFolder() + "\\Play Zanto.lnk"));
        if (!bWithList)
        {
            ASSERT_TRUE(DeleteFileA((target.InstallDir() + "\\uninstall.dat").c_str()));
        }

        Deinstall(session, main);
        ASSERT_TRUE(WaitForInstallOffered(main)) << session.Diagnose();
        for (const char* pszLink : {"Deinstall Zanto.lnk", "Play Zanto.lnk", "Readme.txt.lnk", "Homepage.lnk", "Options.lnk"})
            EXPECT_FALSE(FileExists(ProgramsFolder() + "\\" + pszLink)) << pszLink;
        EXPECT_TRUE(FileExists(strNeighbour));
        EXPECT_TRUE(FileExists(ProgramsFolder()));
        DeleteFileA(strNeighbour.c_str());
    }
}

// A start menu folder of two new levels: both are made for the shortcuts, and both go again.
TEST(DeinstallTest, AStartMenuFolderOfNewLevelsIsMadeAndRemoved)
{
    CSetupSession session;
    CInstallTarget target;
    CWindowDriver main = session.StartInLanguage(false);
    InstallThroughWizard(session, main, false, target.InstallDir(), target.MenuFolder() + "\\Demo");
    if (HasFatalFailure())
        return;
    EXPECT_EQ((std::vector<std::string>{"Demo\\Einstellungen.lnk", "Demo\\Homepage.lnk", "Demo\\Liesmich.txt.lnk",
                                        "Demo\\Zanto deinstallieren.lnk", "Demo\\Zanto spielen.lnk"}),
              FilesBelow(target.MenuPath()));

    Deinstall(session, main, false);
    ASSERT_TRUE(WaitForInstallOffered(main, false)) << session.Diagnose();
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_FALSE(FileExists(target.InstallDir()));
}

// A folder link inside the installation is removed as a link at most; what it points to stays.
TEST(DeinstallTest, RemovalNeverFollowsAFolderLink)
{
    for (const bool bWithList : {true, false})
    {
        SCOPED_TRACE(bWithList ? "with the list" : "without the list");
        CSetupSession session;
        CInstallTarget target;
        CScopedFolder outside(UniqueTempPath("zol"));
        WriteTextFile(outside.Path() + "\\precious.txt", "keep me");
        CWindowDriver main = session.StartInLanguage(true);
        InstallThroughWizard(session, main, true, target);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(MakeFolderLink(target.InstallDir() + "\\data\\linked", outside.Path()));
        ASSERT_TRUE(FileExists(target.InstallDir() + "\\data\\linked\\precious.txt"));
        if (!bWithList)
        {
            ASSERT_TRUE(DeleteFileA((target.InstallDir() + "\\uninstall.dat").c_str()));
        }

        Deinstall(session, main);
        ASSERT_TRUE(WaitForInstallOffered(main)) << session.Diagnose();
        EXPECT_TRUE(FileExists(outside.Path() + "\\precious.txt"));
        EXPECT_EQ("", session.Diagnose());
        RemoveFolderLink(target.InstallDir() + "\\data\\linked");
    }
}

// Windows takes "/" for "\": folders typed with it install, are recorded with "\" and go again
// like any other.
TEST(DeinstallTest, FoldersTypedWithForwardSlashesInstallAndGo)
{
    CSetupSession session;
    CInstallTarget target;
    std::string strInstallDir = target.InstallDir();
    std::string strMenuFolder = target.MenuFolder();
    std::replace(strInstallDir.begin(), strInstallDir.end(), '\\', '/');
    std::replace(strMenuFolder.begin(), strMenuFolder.end(), '\\', '/');
    CWindowDriver main = session.StartInLanguage(true);
    InstallThroughWizard(session, main, true, strInstallDir, strMenuFolder);
    if (HasFatalFailure())
        return;
    ExpectCompleteInstallation(true, target);

    Deinstall(session, main);
    ASSERT_TRUE(WaitForInstallOffered(main)) << session.Diagnose();
    EXPECT_FALSE(FileExists(target.InstallDir())) << testing::PrintToString(FilesBelow(target.InstallDir()));
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_TRUE(RecordValues().empty());
}

// The files of a CD are read-only, and so would be their copies: the installation makes them
// plain files, so that Deinstall removes them like the rest.
TEST(DeinstallTest, CopiesOfAReadOnlyMediumsFilesAreRemovedToo)
{
    CSetupSession session;
    CInstallTarget target;
    for (const char* pszFile : {"en\\readme.txt", "en\\docs\\controls.txt"})
        ASSERT_TRUE(SetFileAttributesA(session.MediumFile(pszFile).c_str(), FILE_ATTRIBUTE_READONLY));
    CWindowDriver main = session.StartInLanguage(true);
    InstallThroughWizard(session, main, true, target);
    if (HasFatalFailure())
        return;
    EXPECT_EQ(0u, GetFileAttributesA((target.InstallDir() + "\\readme.txt").c_str()) & FILE_ATTRIBUTE_READONLY);

    Deinstall(session, main);
    ASSERT_TRUE(WaitForInstallOffered(main)) << session.Diagnose();
    EXPECT_FALSE(FileExists(target.InstallDir())) << testing::PrintToString(FilesBelow(target.InstallDir()));
    EXPECT_TRUE(RecordValues().empty());
    EXPECT_EQ("", session.Diagnose());
}
