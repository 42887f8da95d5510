#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "FolderLink.h"
#include "Folders.h"
#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "MessageBoxIcon.h"
#include "SetupSession.h"
#include "UninstallRun.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
struct SUninstallCase
{
    const char* pszName;
    bool bEnglish;
    EUninstallStart eStart;
};

// Both languages of the installation, both ways Windows starts the program. The installation's
// language decides, whatever the keyboard layout of the run.
const SUninstallCase s_aEveryStart[] = {
    {"EnglishFromTheRecord", true, EUninstallStart::Record},
    {"GermanFromTheRecord", false, EUninstallStart::Record},
    {"EnglishFromTheShortcut", true, EUninstallStart::Shortcut},
    {"GermanFromTheShortcut", false, EUninstallStart::Shortcut},
};
const SUninstallCase s_aBothLanguages[] = {
    {"EnglishFromTheRecord", true, EUninstallStart::Record},
    {"GermanFromTheShortcut", false, EUninstallStart::Shortcut},
};

std::string CaseName(const testing::TestParamInfo<SUninstallCase>& info)
{
    return info.param.pszName;
}


class UninstallProgramTest : public testing::TestWithParam<SUninstallCase>
{
protected:
    // Starts uninstall.exe and answers its question with nAnswer.
    void RunAndAnswer(const CInstallTarget& target, int nAnswer) { RunAndAnswer(target, nAnswer, GetParam().eStart); }
    void RunAndAnswer(const CInstallTarget& target, int nAnswer, EUninstallStart eStart)
    {
        const SUninstallCase& test = GetParam();
        m_run.Start(eStart, test.bEnglish, target);
        if (HasFatalFailure())
            return;
        m_run.AnswerBox(DeinstallQuestion(test.bEnglish), nAnswer);
    }

    // Yes, the closing message and OK; the copy in the temporary folder goes too.
    void RemoveThroughProgram(const CInstallTarget& target) { RemoveThroughProgram(target, GetParam().eStart); }
    void RemoveThroughProgram(const CInstallTarget& target, EUninstallStart eStart)
    {
        RunAndAnswer(target, IDYES, eStart);
        if (HasFatalFailure())
            return;
        m_run.AnswerBox(RemovedMessage(GetParam().bEnglish), IDOK);
        if (HasFatalFailure())
            return;
        EXPECT_TRUE(m_run.WaitForCopyGone()) << "the copy in the temporary folder stayed";
    }

    // Removes the record at the end, whatever the test left.
    CSetupSession m_session;
    CUninstallRun m_run;
};

using UninstallProgramCaseTest = UninstallProgramTest;
}

// Yes takes the whole installation, the install folder, the program itself and the record, and
// the copy that did the work goes afterwards.
TEST_P(UninstallProgramTest, YesRemovesEverythingAndItself)
{
    CInstallTarget target;
    InstallAndQuit(m_session, GetParam().bEnglish, target);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(FileExists(target.InstallDir() + "\\uninstall.exe"));

    RemoveThroughProgram(target);
    EXPECT_FALSE(FileExists(target.InstallDir()));
    EXPECT_FALSE(FileExists(target.InstallParent()));
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_TRUE(RecordValues().empty());
    EXPECT_EQ("", m_run.Diagnose());
}

// No leaves every file, shortcut and value as it was, and no copy behind.
TEST_P(UninstallProgramTest, NoChangesNothing)
{
    CInstallTarget target;
    InstallAndQuit(m_session, GetParam().bEnglish, target);
    if (HasFatalFailure())
        return;
    const std::vector<std::string> files = FilesBelow(target.InstallDir());
    const std::vector<std::string> links = FilesBelow(target.MenuPath());
    const auto record = RecordValues();

    RunAndAnswer(target, IDNO);
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(m_run.WaitForCopyGone()) << "the copy in the temporary folder stayed";
    EXPECT_EQ(files, FilesBelow(target.InstallDir()));
    EXPECT_EQ(links, FilesBelow(target.MenuPath()));
    EXPECT_EQ(record, RecordValues());
    EXPECT_EQ("", m_run.Diagnose());
}

INSTANTIATE_TEST_SUITE_P(EveryStart, UninstallProgramTest, testing::ValuesIn(s_aEveryStart), CaseName);

// In a folder that was there before, only what the installation brought goes.
TEST_P(UninstallProgramCaseTest, AFolderThatExistedBeforeKeepsTheUsersFiles)
{
    CInstallTarget target;
    CScopedFolder parent(target.InstallParent());
    CScopedFolder folder(target.InstallDir());
    CreateDirectoryA((target.InstallDir() + "\\data").c_str(), nullptr);
    WriteTextFile(target.InstallDir() + "\\savegame.sav", "level 3");
    WriteTextFile(target.InstallDir() + "\\data\\mine.txt", "mine");
    InstallAndQuit(m_session, GetParam().bEnglish, target);
    if (HasFatalFailure())
        return;

    RemoveThroughProgram(target);
    EXPECT_EQ((std::vector<std::string>{"data\\mine.txt", "savegame.sav"}), FilesBelow(target.InstallDir()));
    EXPECT_EQ("level 3", ReadFileBytes(target.InstallDir() + "\\savegame.sav"));
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_TRUE(RecordValues().empty());
}

// A folder link inside the install folder goes as a link at most; what it points to stays.
TEST_P(UninstallProgramCaseTest, AFolderLinkLeavesItsTargetAlone)
{
    CInstallTarget target;
    CScopedFolder outside(UniqueTempPath("zul"));
    WriteTextFile(outside.Path() + "\\precious.txt", "keep me");
    InstallAndQuit(m_session, GetParam().bEnglish, target);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(MakeFolderLink(target.InstallDir() + "\\data\\linked", outside.Path()));

    RemoveThroughProgram(target);
    EXPECT_EQ("keep me", ReadFileBytes(outside.Path() + "\\precious.txt"));
    EXPECT_FALSE(FileExists(target.InstallDir() + "\\uninstall.exe"));
    EXPECT_TRUE(RecordValues().empty());
    RemoveFolderLink(target.InstallDir() + "\\data\\linked");
}

// A file that cannot be deleted stops the run with the setup program's file error; the record
// stays with what is left, and a second run finishes the job. Read-only may be uninstall.exe
// itself: its copy in the temporary folder is a plain file all the same, and goes.
TEST_P(UninstallProgramCaseTest, AReadOnlyFileStopsTheRunAndASecondRunFinishes)
{
    const SUninstallCase& test = GetParam();
    for (const char* pszLocked : {"data\\maps\\caves.map", "uninstall.exe"})
    {
        SCOPED_TRACE(pszLocked);
        CInstallTarget target;
        InstallAndQuit(m_session, test.bEnglish, target);
        if (HasFatalFailure())
            return;
        const std::string strLocked = target.InstallDir() + "\\" + pszLocked;
        ASSERT_TRUE(SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_READONLY));

        RunAndAnswer(target, IDYES);
        if (HasFatalFailure())
            return;
        const HWND hError = m_run.WaitForBox("Zugriff auf " + strLocked + " wurde verwehrt.");
        ASSERT_NE(nullptr, hError) << m_run.Diagnose();
        EXPECT_EQ(EMessageBoxIcon::Stop, ReadMessageBoxIcon(hError));
        EXPECT_EQ(nullptr, GetDlgItem(hError, IDCANCEL));
        AnswerMessageBox(hError, IDOK);
        EXPECT_TRUE(m_run.WaitForCopyGone()) << "the copy in the temporary folder stayed";
        EXPECT_EQ(kRecordValueCount, RecordValues().size());
        EXPECT_TRUE(FileExists(strLocked));
        EXPECT_TRUE(FileExists(target.InstallDir() + "\\uninstall.dat"));

        // The listed files go in reverse order, the game data before the programs that came
        // ahead of them in the cabinet, and the program goes last: it is still there, and the
        // second run comes from the list of programs.
        ASSERT_TRUE(FileExists(target.InstallDir() + "\\uninstall.exe"));
        ASSERT_TRUE(SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_NORMAL));
        RemoveThroughProgram(target, EUninstallStart::Record);
        EXPECT_FALSE(FileExists(target.InstallDir()));
        EXPECT_FALSE(FileExists(target.MenuPath()));
        EXPECT_TRUE(RecordValues().empty());
    }
}

// While the setup program installs (its success message still stands), the uninstall program
// says that it runs and removes nothing.
TEST_P(UninstallProgramCaseTest, TheSetupProgramAtWorkKeepsItFromRemoving)
{
    const SUninstallCase& test = GetParam();
    CInstallTarget target;
    CWindowDriver main = m_session.StartInLanguage(test.bEnglish);
    ASSERT_TRUE(StartInstallation(main, target.InstallDir(), target.MenuFolder())) << m_session.Diagnose();
    const HWND hSuccess = WaitForMessageBoxText(m_session.Process().GetPid(), SuccessMessage(test.bEnglish));
    ASSERT_NE(nullptr, hSuccess) << m_session.Diagnose();
    const std::vector<std::string> files = FilesBelow(target.InstallDir());

    RunAndAnswer(target, IDYES);
    if (HasFatalFailure())
        return;
    m_run.AnswerBox(SetupRunningMessage(test.bEnglish), IDOK);
    EXPECT_TRUE(m_run.WaitForCopyGone()) << "the copy in the temporary folder stayed";
    EXPECT_EQ(files, FilesBelow(target.InstallDir()));
    EXPECT_EQ(kRecordValueCount, RecordValues().size());

    AnswerMessageBox(hSuccess, IDOK);
    ASSERT_TRUE(WaitForPage(main, 0)) << m_session.Diagnose();
    ExpectCompleteInstallation(test.bEnglish, target);
}

// While the uninstall program stops at a file (its message still stands), the setup program's
// Deinstall says that the other runs and changes nothing.
TEST_P(UninstallProgramCaseTest, TheUninstallProgramAtWorkKeepsTheSetupProgramFromRemoving)
{
    const SUninstallCase& test = GetParam();
    CInstallTarget target;
    InstallAndQuit(m_session, test.bEnglish, target);
    if (HasFatalFailure())
        return;
    const std::string strLocked = target.InstallDir() + "\\data\\maps\\caves.map";
    ASSERT_TRUE(SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_READONLY));
    CWindowDriver main = m_session.StartInLanguage(test.bEnglish);
    ASSERT_EQ(test.bEnglish ? "Deinstall" : "Deinstallieren", main.GetText(IDC_INSTALL));

    RunAndAnswer(target, IDYES);
    if (HasFatalFailure())
        return;
    const HWND hError = m_run.WaitForBox("Zugriff auf " + strLocked + " wurde verwehrt.");
    ASSERT_NE(nullptr, hError) << m_run.Diagnose();
    const std::vector<std::string> files = FilesBelow(target.InstallDir());

    Deinstall(m_session, main, test.bEnglish);
    AnswerBox(m_session, SetupRunningMessage(test.bEnglish), IDOK);
    ASSERT_TRUE(WaitForPage(main, 0)) << m_session.Diagnose();
    EXPECT_EQ(test.bEnglish ? "Deinstall" : "Deinstallieren", main.GetText(IDC_INSTALL));
    EXPECT_EQ(files, FilesBelow(target.InstallDir()));
    EXPECT_EQ(kRecordValueCount, RecordValues().size());

    AnswerMessageBox(hError, IDOK);
    EXPECT_TRUE(m_run.WaitForCopyGone()) << "the copy in the temporary folder stayed";
    SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A setup program that stood on page 0 while the uninstall program removed the installation
// acts on nothing at its next click: Deinstall and Play show Install again, and an installation
// that it starts while the uninstall program still holds on waits for it to end.
TEST_P(UninstallProgramCaseTest, ASetupProgramOnPage0NeverActsOnTheRemovedInstallation)
{
    const SUninstallCase& test = GetParam();
    for (const int nClicked : {IDC_INSTALL, IDC_PLAY})
    {
        SCOPED_TRACE(nClicked == IDC_INSTALL ? "Deinstall" : "Play");
        CInstallTarget target;
        InstallAndQuit(m_session, test.bEnglish, target);
        if (HasFatalFailure())
            return;
        CWindowDriver main = m_session.StartInLanguage(test.bEnglish);
        ASSERT_EQ(test.bEnglish ? "Deinstall" : "Deinstallieren", main.GetText(IDC_INSTALL));

        RunAndAnswer(target, IDYES);
        if (HasFatalFailure())
            return;
        const HWND hRemoved = m_run.WaitForBox(RemovedMessage(test.bEnglish));
        ASSERT_NE(nullptr, hRemoved) << m_run.Diagnose();
        ASSERT_FALSE(FileExists(target.InstallDir()));

        main.Click(nClicked);
        ASSERT_TRUE(WaitForInstallOffered(main, test.bEnglish)) << m_session.Diagnose();
        EXPECT_FALSE(main.IsEnabled(IDC_PLAY));
        EXPECT_TRUE(m_session.Process().IsRunning());
        EXPECT_EQ("", m_session.Diagnose());

        ASSERT_TRUE(StartInstallation(main, target.InstallDir(), target.MenuFolder())) << m_session.Diagnose();
        AnswerBox(m_session, SetupRunningMessage(test.bEnglish), IDOK);
        ASSERT_TRUE(WaitForInstallOffered(main, test.bEnglish)) << m_session.Diagnose();
        EXPECT_FALSE(FileExists(target.InstallDir()));
        EXPECT_TRUE(RecordValues().empty());

        AnswerMessageBox(hRemoved, IDOK);
        EXPECT_TRUE(m_run.WaitForCopyGone()) << "the copy in the temporary folder stayed";
        main.Click(IDCANCEL);
        ASSERT_TRUE(m_session.Process().WaitForExit()) << m_session.Diagnose();
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, UninstallProgramCaseTest, testing::ValuesIn(s_aBothLanguages), CaseName);

// Without a record there is nothing to remove: the program says so in the keyboard layout's
// language and touches nothing, not even a folder that looks like an installation.
TEST(UninstallProgramNoRecordTest, SaysNotInstalledAndRemovesNothing)
{
    DeleteUninstallRecord();
    CInstallTarget target;
    CScopedFolder parent(target.InstallParent());
    CScopedFolder folder(target.InstallDir());
    CopyFolder(HostPath("ZANTO_PAYLOAD"), target.InstallDir());
    const std::vector<std::string> files = FilesBelow(target.InstallDir());

    CUninstallRun run;
    run.StartFile(target.InstallDir() + "\\uninstall.exe");
    if (HasFatalFailure())
        return;
    run.AnswerBox(NotInstalledMessage(!IsGermanLayoutRun()), IDOK);
    EXPECT_TRUE(run.WaitForCopyGone()) << "the copy in the temporary folder stayed";
    EXPECT_EQ(files, FilesBelow(target.InstallDir()));
    EXPECT_TRUE(RecordValues().empty());
}
