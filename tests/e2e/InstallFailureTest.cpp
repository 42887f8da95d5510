#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "ScopedHandle.h"
#include "SetupSession.h"
#include "TestDrives.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
std::string StepMessage(bool bEnglish, int nStep)
{
    switch (nStep)
    {
    case 1:
        return Text(bEnglish, "Error while coping the language files !!\nAborting installation !",
                    "Fehler beim kopieren der Sprach Dateien !!\nInstallation abgebrochen !");
    case 2:
        return Text(bEnglish, "Error while extracting the cab-file !!\nAborting installation !",
                    "Fehler beim extrahieren der CAB-Datei !!\nInstallation abgebrochen !");
    default:
        return Text(bEnglish, "Error while creating registry enties !!\nAborting installation !",
                    "Fehler beim erstellen der Registry Eintr\xE4ge!\nInstallation abgebrochen !");
    }
}

// After a failed step: its message, then the start page with nothing of the run left.
void ExpectFailedAndCleanedUp(CSetupSession& session, const CWindowDriver& main, bool bEnglish, int nStep,
                              const CInstallTarget& target)
{
    AnswerBox(session, StepMessage(bEnglish, nStep), IDOK);
    if (testing::Test::HasFatalFailure())
        return;
    ASSERT_TRUE(WaitForEndOfFailedInstallation(main)) << session.Diagnose();
    EXPECT_EQ(Text(bEnglish, "Install", "Installieren"), main.GetText(IDC_INSTALL));
    EXPECT_FALSE(main.IsEnabled(IDC_PLAY));
    EXPECT_FALSE(FileExists(target.InstallDir())) << "left: " << testing::PrintToString(FilesBelow(target.InstallDir()));
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_TRUE(RecordValues().empty());
    EXPECT_EQ("", session.Diagnose());
}


void TruncateFile(const std::string& strPath, LONG nSize)
{
    CScopedHandle hFile(CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(hFile.IsValid());
    SetFilePointer(hFile.Get(), nSize, nullptr, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(hFile.Get()));
}
}

// Step 2 fails after the language files were copied; the clean-up takes them away again.
TEST(InstallFailureTest, ABrokenCabinetFailsTheExtractionAndRemovesTheLanguageFiles)
{
    struct SBreakage
    {
        const char* pszWhat;
        void (*fnBreak)(const std::string& strCabinet);
    };
    const SBreakage aBreakages[] = {
        {"missing", [](const std::string& strCabinet) { ASSERT_TRUE(DeleteFileA(strCabinet.c_str())); }},
        {"truncated", [](const std::string& strCabinet) { TruncateFile(strCabinet, 120000); }},
        {"not a cabinet", [](const std::string& strCabinet) { WriteTextFile(strCabinet, "MSCF? no."); }},
    };
    for (const bool bEnglish : {true, false})
        for (const SBreakage& breakage : aBreakages)
        {
            SCOPED_TRACE(std::string(bEnglish ? "English, " : "German, ") + breakage.pszWhat);
            CSetupSession session;
            CInstallTarget target;
            breakage.fnBreak(session.MediumFile("data.cab"));
            if (HasFatalFailure())
                return;
            CWindowDriver main = session.StartInLanguage(bEnglish);
            ASSERT_TRUE(StartInstallation(main, target.InstallDir(), target.MenuFolder())) << session.Diagnose();
            ExpectFailedAndCleanedUp(session, main, bEnglish, 2, target);
            if (HasFatalFailure())
                return;
        }
}

// A language file that cannot be read: "Copy failed" with both paths, then the step's message;
// the cabinet is never opened.
TEST(InstallFailureTest, ALanguageFileThatCannotBeCopiedFailsStepOne)
{
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CInstallTarget target;
        const std::string strLocked = session.MediumFile(bEnglish ? "en\\readme.txt" : "ger\\liesmich.txt");
        const CScopedHandle hLock(CreateFileA(strLocked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(hLock.IsValid());
        CWindowDriver main = session.StartInLanguage(bEnglish);
        ASSERT_TRUE(StartInstallation(main, target.InstallDir(), target.MenuFolder())) << session.Diagnose();
        const std::string strTarget = target.InstallDir() + (bEnglish ? "\\readme.txt" : "\\liesmich.txt");
        AnswerBox(session, "Copy failed " + strLocked + " -> " + strTarget, IDOK);
        if (HasFatalFailure())
            return;
        ExpectFailedAndCleanedUp(session, main, bEnglish, 1, target);
        if (HasFatalFailure())
            return;
    }
}

// A drive that fills up during the extraction. The announced size is made small, so that the
// free-space check lets the installation start on the 1 MiB drive.
TEST(InstallFailureTest, ADiskThatFillsDuringTheExtractionFailsStepTwo)
{
    REQUIRE_TEST_DRIVES();
    const std::string strDrive = TestDriveLetter("ZANTO_SMALL_DRIVE");
    CSetupSession session;
    CInstallTarget target;
    WriteTextFile(session.MediumFile("setup_en.ini"), "Folder:Zanto\nSize:1000\nLanguageSize:1000\n");
    const std::string strInstallDir = strDrive + ":\\Zanto";
    CWindowDriver main = session.StartInLanguage(true);
    ASSERT_TRUE(StartInstallation(main, strInstallDir, target.MenuFolder())) << session.Diagnose();
    AnswerBox(session, StepMessage(true, 2), IDOK);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(WaitForEndOfFailedInstallation(main)) << session.Diagnose();
    EXPECT_FALSE(FileExists(strInstallDir)) << testing::PrintToString(FilesBelow(strInstallDir));
    EXPECT_TRUE(RecordValues().empty());
    EXPECT_EQ("", session.Diagnose());
}

// An installation without its record could never be removed: it fails and is cleaned up.
TEST(InstallFailureTest, ARecordThatCannotBeWrittenFailsTheInstallation)
{
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CInstallTarget target;
        CLockedRecord locked;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        ASSERT_TRUE(StartInstallation(main, target.InstallDir(), target.MenuFolder())) << session.Diagnose();
        AnswerBox(session, StepMessage(bEnglish, 4), IDOK);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(WaitForEndOfFailedInstallation(main)) << session.Diagnose();
        EXPECT_EQ(Text(bEnglish, "Install", "Installieren"), main.GetText(IDC_INSTALL));
        EXPECT_FALSE(FileExists(target.InstallDir()));
        EXPECT_FALSE(FileExists(target.MenuPath()));
        EXPECT_EQ("", session.Diagnose());
    }
}

// Paths that do not fit the program's buffers fail their step; nothing is cut short or written
// elsewhere, and the clean-up takes away what was written.
TEST(InstallFailureTest, InstallFoldersTooLongForTheBuffersFailCleanly)
{
    struct SLength
    {
        size_t nLength;
        int nStep;
    };
    // 205 characters: the language files fit, the cabinet's target folder does not. 245: the
    // language files' paths do not fit either.
    for (const SLength& length : {SLength{205, 2}, SLength{245, 1}})
    {
        SCOPED_TRACE(std::to_string(length.nLength) + " characters");
        CSetupSession session;
        CInstallTarget target;
        std::string strInstallDir = target.InstallDir() + "\\";
        while (strInstallDir.size() < length.nLength)
            strInstallDir += strInstallDir.size() % 40 == 0 ? '\\' : 'x';
        strInstallDir.resize(length.nLength);
        if (strInstallDir.back() == '\\')
            strInstallDir.back() = 'y';
        CWindowDriver main = session.StartInLanguage(true);
        ASSERT_TRUE(StartInstallation(main, strInstallDir, target.MenuFolder())) << session.Diagnose();
        if (length.nStep == 1)
        {
            const HWND hCopy = WaitForMessageBoxText(session.Process().GetPid(), "Copy failed ", ETextMatch::Contains);
            ASSERT_NE(nullptr, hCopy) << session.Diagnose();
            AnswerMessageBox(hCopy, IDOK);
        }
        ExpectFailedAndCleanedUp(session, main, true, length.nStep, target);
        if (HasFatalFailure())
            return;
    }
}
