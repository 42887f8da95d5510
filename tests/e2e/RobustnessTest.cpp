// Faults the robustness campaign (tests/stress) found, each as the smallest run that shows it.
// They are disabled until the program is mended; run them with --gtest_also_run_disabled_tests.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CabinetWriter.h"
#include "Folders.h"
#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "SetupSession.h"
#include "WindowFinder.h"
#include "WindowText.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
const char* const kShortcutsEnglish[] = {"Deinstall Zanto.lnk", "Play Zanto.lnk", "Readme.txt.lnk", "Homepage.lnk",
                                         "Options.lnk"};

// Answers every message box, Yes where it asks and OK elsewhere, until fnDone holds for the
// texts seen so far; returns them, with "timeout" last when fnDone never held.
std::vector<std::string> AnswerUntil(CSetupSession& session,
                                     const std::function<bool(const std::vector<std::string>&)>& fnDone,
                                     DWORD dwTimeoutMs = 30000)
{
    std::vector<std::string> texts;
    const DWORD dwPid = session.Process().GetPid();
    const bool bDone = WaitUntil(
        [&] {
            for (const HWND hBox : ListMessageBoxes(dwPid))
            {
                const std::optional<std::string> strText = TryReadWindowText(GetDlgItem(hBox, kMessageBoxTextId), 500);
                if (!strText)
                    continue;
                texts.push_back(*strText);
                AnswerMessageBox(hBox, GetDlgItem(hBox, IDYES) != nullptr ? IDYES : IDOK);
                WaitForWindowGone(hBox);
            }
            return fnDone(texts);
        },
        dwTimeoutMs);
    if (!bDone)
        texts.push_back("timeout");
    return texts;
}

// Sets the folder index of the member named strName in a cabinet of the writer (one folder, so
// the entries follow the 36-byte header and the 8-byte folder entry).
void SetFolderIndex(std::string& strCabinet, const std::string& strName, unsigned nIndex)
{
    std::size_t nAt = 36 + 8;
    while (nAt + 16 < strCabinet.size())
    {
        const std::size_t nNameEnd = strCabinet.find('\0', nAt + 16);
        if (strCabinet.compare(nAt + 16, nNameEnd - nAt - 16, strName) == 0)
        {
            strCabinet[nAt + 8] = static_cast<char>(nIndex & 0xFF);
            strCabinet[nAt + 9] = static_cast<char>(nIndex >> 8);
            return;
        }
        nAt = nNameEnd + 1;
    }
    FAIL() << "no member " << strName;
}

bool SettledOnStartPage(CSetupSession& session, const CWindowDriver& main)
{
    return PageOf(main) == 0 && main.IsEnabled(IDCANCEL) && ListMessageBoxes(session.Process().GetPid()).empty();
}

std::string FullPath(const std::string& strPath)
{
    char szFull[MAX_PATH];
    const DWORD nLength = GetFullPathNameA(strPath.c_str(), MAX_PATH, szFull, nullptr);
    return nLength > 0 && nLength < MAX_PATH ? std::string(szFull, nLength) : strPath;
}
}

// Fault: the licence box breaks a long line into rows at a cost that grows with the square of its
// length under Wine (200,000 characters: about a minute; 1 MiB, which the reader still accepts:
// far longer), and the start does it before any window shows: the program looks hung.
// Campaign: --seed 1 --only config-licence:11 (a line of 310,692 characters), also :21, :23, :30.
// Wanted: the wizard comes, or the licence counts as unreadable and its message comes.
TEST(LicenceTest, DISABLED_ALicenceLineAsLongAsTheReaderTakesDoesNotFreezeTheStart)
{
    CSetupSession session;
    WriteTextFile(session.MediumFile("eula_en.txt"), std::string(1024 * 1024 - 1, 'w') + "\r\n");
    session.ChooseLanguage(true);
    const DWORD dwPid = session.Process().GetPid();
    HWND hMain = nullptr;
    HWND hBox = nullptr;
    WaitUntil(
        [&] {
            hMain = FindProcessWindow(dwPid, [](HWND hWnd) { return ReadWindowCaption(hWnd) == "Zanto Demo Setup"; });
            hBox = FindProcessWindow(dwPid, IsMessageBox);
            return hMain != nullptr || hBox != nullptr;
        },
        30000);
    ASSERT_TRUE(hMain != nullptr || hBox != nullptr)
        << "30 s after the language was chosen there is neither the wizard nor a message";
    if (hBox != nullptr)
    {
        EXPECT_EQ("eule_en.txt not found", ReadMessageBoxText(hBox));
        AnswerMessageBox(hBox, IDOK);
    }
}

// Fault: the files of a medium on a CD are read-only, and so are the copies that the installation
// makes of the language files. Deinstall then stops at the first of them ("Zugriff auf ...
// wurde verwehrt."): the record stays with a half-removed installation, and no Deinstall ever
// finishes until the user clears the attributes by hand.
// Campaign: --seed 1 --only readonly:11 (and readonly:23).
// Wanted: Deinstall removes the installation that the program itself made, whatever the medium's
// attributes were.
TEST(ReadOnlyMediumTest, DISABLED_DeinstallRemovesTheCopiesOfReadOnlyMediumFiles)
{
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CInstallTarget target;
        for (const std::string& strFile : FilesBelow(session.MediumPath()))
            ASSERT_TRUE(SetFileAttributesA((session.MediumPath() + "\\" + strFile).c_str(), FILE_ATTRIBUTE_READONLY));
        CWindowDriver main = session.StartInLanguage(bEnglish);
        InstallThroughWizard(session, main, bEnglish, target);
        if (HasFatalFailure())
            return;

        main.Click(IDC_INSTALL);
        const std::string strInstall = Text(bEnglish, "Install", "Installieren");
        // Done when the removal finished, or stopped with a message.
        const std::vector<std::string> texts = AnswerUntil(session, [&](const std::vector<std::string>& seen) {
            return SettledOnStartPage(session, main) && (main.GetText(IDC_INSTALL) == strInstall || seen.size() > 1);
        });
        EXPECT_EQ(1u, texts.size()) << "the deinstall question alone: " << testing::PrintToString(texts);
        EXPECT_FALSE(FileExists(target.InstallDir())) << testing::PrintToString(FilesBelow(target.InstallDir()));
        EXPECT_FALSE(FileExists(target.MenuPath()));
        EXPECT_TRUE(RecordValues().empty());
    }
}

// Fault: a start menu folder typed with ".." lies outside the programs folder. The installation
// makes it and puts its five shortcuts there, but Deinstall leaves the folder and the shortcuts
// (removal takes no path with ".." in it). With enough "..", the shortcuts land in C:\ and stay.
// Campaign: --seed 1 --only menu:2 ("\..\..\zanto-menu-out"), menu:3 (up to the drive root).
// Wanted: what the installation writes, Deinstall removes; or the installation refuses the folder.
TEST(StartMenuFolderTest, DISABLED_AFolderThatClimbsOutOfTheProgramsFolderGoesWithDeinstall)
{
    CSetupSession session;
    CInstallTarget target;
    // "\..\Zanto zigNNNN.tmp": beside the programs folder, in the start menu.
    const std::string strMenuFolder = "\\.." + target.MenuFolder();
    const std::string strOutside = FullPath(ProgramsFolder() + strMenuFolder);
    CWindowDriver main = session.StartInLanguage(true);
    ASSERT_TRUE(StartInstallation(main, target.InstallDir(), strMenuFolder)) << session.Diagnose();
    const std::vector<std::string> installTexts =
        AnswerUntil(session, [&](const std::vector<std::string>&) { return SettledOnStartPage(session, main); });
    if (main.GetText(IDC_INSTALL) == "Deinstall")
    {
        main.Click(IDC_INSTALL);
        AnswerUntil(session, [&](const std::vector<std::string>& seen) {
            return SettledOnStartPage(session, main) && (main.GetText(IDC_INSTALL) == "Install" || seen.size() > 1);
        });
    }
    EXPECT_FALSE(FileExists(strOutside)) << "left: " << strOutside << " " << testing::PrintToString(FilesBelow(strOutside))
                                         << "; messages " << testing::PrintToString(installTexts);
    EXPECT_FALSE(FileExists(target.InstallDir()));
    EXPECT_TRUE(RecordValues().empty());
    RemoveFolder(strOutside);
}

// Fault: shortcuts that cannot be made are not noticed. With a start menu folder whose name
// Windows does not allow (here "|"; likewise one beyond MAX_PATH, a device name as "CON", or
// forward slashes), not one shortcut is made, yet the installation reports success and writes
// the uninstall record.
// Campaign: --seed 1 --only menu:4 (also menu:5, :7, :11, :14 and their German twins :20, ...).
// Wanted: an installation that is reported and recorded has its shortcuts; otherwise the step
// fails with its message and what was written goes, or the wizard refuses the folder.
TEST(StartMenuFolderTest, DISABLED_NoSuccessWithoutTheShortcuts)
{
    CSetupSession session;
    CInstallTarget target;
    const std::string strMenuFolder = target.MenuFolder() + " a|b";
    CWindowDriver main = session.StartInLanguage(true);
    ASSERT_TRUE(StartInstallation(main, target.InstallDir(), strMenuFolder)) << session.Diagnose();
    const std::vector<std::string> texts =
        AnswerUntil(session, [&](const std::vector<std::string>&) { return SettledOnStartPage(session, main); });
    if (RecordValues().empty())
    {
        EXPECT_FALSE(FileExists(target.InstallDir())) << testing::PrintToString(FilesBelow(target.InstallDir()));
        return;
    }
    for (const char* pszLink : kShortcutsEnglish)
        EXPECT_TRUE(FileExists(ProgramsFolder() + strMenuFolder + "\\" + pszLink))
            << pszLink << " missing, yet the installation is recorded; messages " << testing::PrintToString(texts);
}

// Fault: a member whose entry says it is continued from a previous cabinet of a set (folder index
// 0xFFFD, or 0xFFFF: from the previous and into the next) is passed over without a word: the
// installation reports success and writes the record, and the member is missing. A cabinet that
// continues into a next one fails the extraction; one continued from a previous one does not
// belong to this medium either.
// Campaign: --seed 1 --only cab-writer:84 (0xFFFF on an empty member, data\tool26.txt).
// Wanted: every member of the cabinet installed, or the extraction fails and nothing is left.
TEST(ContinuedCabinetTest, DISABLED_AMemberContinuedFromAPreviousCabinetFailsTheExtraction)
{
    for (const unsigned nIndex : {0xFFFDu, 0xFFFFu})
        for (const std::size_t nSize : {std::size_t(0), std::size_t(5000)})
        {
            SCOPED_TRACE("folder index " + std::to_string(nIndex) + ", " + std::to_string(nSize) + " bytes");
            CSetupSession session;
            CInstallTarget target;
            std::string strCabinet = BuildCabinet({{"first.txt", "first"}, {"data\\middle.dat", std::string(nSize, 'm')},
                                                   {"last.txt", "last"}});
            SetFolderIndex(strCabinet, "data\\middle.dat", nIndex);
            WriteTextFile(session.MediumFile("data.cab"), strCabinet);
            CWindowDriver main = session.StartInLanguage(true);
            ASSERT_TRUE(StartInstallation(main, target.InstallDir(), target.MenuFolder())) << session.Diagnose();
            const std::vector<std::string> texts =
                AnswerUntil(session, [&](const std::vector<std::string>&) { return SettledOnStartPage(session, main); });
            if (RecordValues().empty())
            {
                EXPECT_FALSE(FileExists(target.InstallDir())) << testing::PrintToString(FilesBelow(target.InstallDir()));
                continue;
            }
            EXPECT_TRUE(FileExists(target.InstallDir() + "\\data\\middle.dat"))
                << "missing, yet the installation is recorded; messages " << testing::PrintToString(texts);
        }
}
