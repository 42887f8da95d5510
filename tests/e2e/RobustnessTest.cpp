// The cases of the robustness campaign (tests/stress) that once went wrong, each as the smallest
// run that shows it.
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
const DWORD kHangLimitMs = 120000;
const char* const kCabinetFailed = "Error while extracting the cab-file !!\nAborting installation !";

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
    // A failed step shows the start page before its clean-up runs: the page counts once the click
    // that started the installation has been handled whole.
    Settle(main);
    return PageOf(main) == 0 && main.IsEnabled(IDCANCEL) && ListMessageBoxes(session.Process().GetPid()).empty();
}

std::string FullPath(const std::string& strPath)
{
    char szFull[MAX_PATH];
    const DWORD nLength = GetFullPathNameA(strPath.c_str(), MAX_PATH, szFull, nullptr);
    return nLength > 0 && nLength < MAX_PATH ? std::string(szFull, nLength) : strPath;
}
}

// The licence box wraps a line at a cost that grows with the square of its length under Wine,
// before any window shows (200,000 characters took about a minute, so the line of a megabyte would
// take about half an hour): the longest line the reader takes must still bring the wizard. The
// limit is one of a hang, not of speed (the start-up's time is the benchmark's): two minutes,
// generous for the busiest machine, and far below what the unbroken line would take.
TEST(LicenceTest, ALicenceLineAsLongAsTheReaderTakesDoesNotFreezeTheStart)
{
    CSetupSession session;
    WriteTextFile(session.MediumFile("eula_en.txt"), std::string(1024 * 1024 - 1, 'w') + "\r\n");
    session.ChooseLanguage(true);
    const DWORD dwPid = session.Process().GetPid();
    HWND hMain = nullptr;
    WaitUntil(
        [&] {
            hMain = FindProcessWindow(dwPid, [](HWND hWnd) { return ReadWindowCaption(hWnd) == "Zanto Demo Setup"; });
            return hMain != nullptr;
        },
        kHangLimitMs);
    ASSERT_TRUE(hMain != nullptr) << "no wizard 120 s after the language was chosen; " << session.Diagnose();
    // Every character of the line is there, in rows of at most 1,024 characters and their breaks.
    const LRESULT nLength = SendMessageA(GetDlgItem(hMain, IDC_LICENSE_TEXT), WM_GETTEXTLENGTH, 0, 0);
    EXPECT_EQ(1024 * 1024 - 1 + 1024 * 2, nLength);
}

// A start menu folder that the start menu step refuses (one with ".." would lie outside the
// programs folder, where Deinstall does not look for it; "|", a device name as "CON" and blanks
// at the end are names that Windows does not allow) is refused on its page already: Install stays
// off, a click that comes anyway (Wine's button passes BM_CLICK on while disabled) does nothing,
// and nothing is written.
TEST(StartMenuFolderTest, AFolderThatTheMenuStepRefusesStartsNoInstallation)
{
    CSetupSession session;
    CInstallTarget target;
    // "\..\Zanto zigNNNN.tmp": beside the programs folder, in the start menu.
    const std::string strOutside = FullPath(ProgramsFolder() + "\\.." + target.MenuFolder());
    CWindowDriver main = session.StartInLanguage(true);
    ASSERT_TRUE(WalkToMenuPage(main, target)) << session.Diagnose();
    for (const std::string& strMenuFolder : {"\\.." + target.MenuFolder(), target.MenuFolder() + " a|b",
                                             target.MenuFolder() + "\\CON", target.MenuFolder() + " "})
    {
        SCOPED_TRACE(strMenuFolder);
        main.SetText(IDC_MENU_FOLDER, strMenuFolder);
        Settle(main);
        EXPECT_FALSE(main.IsEnabled(IDC_NEXT));
        main.Click(IDC_NEXT);
        ASSERT_TRUE(WaitForPostedInputHandled(main)) << session.Diagnose();
        EXPECT_EQ(4, PageOf(main));
        EXPECT_TRUE(ListMessageBoxes(session.Process().GetPid()).empty()) << session.Diagnose();
    }
    EXPECT_FALSE(FileExists(strOutside)) << "left: " << strOutside << " " << testing::PrintToString(FilesBelow(strOutside));
    EXPECT_FALSE(FileExists(target.InstallDir())) << testing::PrintToString(FilesBelow(target.InstallDir()));
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_TRUE(RecordValues().empty());
    RemoveFolder(strOutside);
}

// A member whose entry says it is continued from a previous cabinet of a set (folder index
// 0xFFFD, or 0xFFFF: from the previous and into the next) does not belong to this medium, and
// SetupIterateCabinetA passes it over without a word; a member in a folder that the cabinet does
// not declare (with no folder declared at all and the first member continued, Wine's reader wrote
// a file of a name that was never in the cabinet and crashed the program): the extraction fails
// before anything of the cabinet is written, as it does for a cabinet that continues into a next
// one, and nothing is left.
TEST(ContinuedCabinetTest, AMemberOutsideTheCabinetsOwnFoldersFailsTheExtraction)
{
    for (const unsigned nIndex : {0xFFFDu, 0xFFFFu, 1u, 0u})
        for (const std::size_t nSize : {std::size_t(0), std::size_t(5000)})
        {
            // Index 0 with no folder declared: the campaign's case.
            const bool bNoFolder = nIndex == 0;
            SCOPED_TRACE("folder index " + std::to_string(nIndex) + (bNoFolder ? " of no folder, " : ", ") +
                         std::to_string(nSize) + " bytes");
            CSetupSession session;
            CInstallTarget target;
            std::string strCabinet = BuildCabinet({{"first.txt", "first"}, {"data\\middle.dat", std::string(nSize, 'm')},
                                                   {"last.txt", "last"}});
            SetFolderIndex(strCabinet, bNoFolder ? "first.txt" : "data\\middle.dat", bNoFolder ? 0xFFFDu : nIndex);
            if (bNoFolder)
                strCabinet[26] = 0; // cFolders
            WriteTextFile(session.MediumFile("data.cab"), strCabinet);
            CWindowDriver main = session.StartInLanguage(true);
            ASSERT_TRUE(StartInstallation(main, target.InstallDir(), target.MenuFolder())) << session.Diagnose();
            const std::vector<std::string> texts =
                AnswerUntil(session, [&](const std::vector<std::string>&) { return SettledOnStartPage(session, main); });
            EXPECT_EQ(std::vector<std::string>{kCabinetFailed}, texts);
            EXPECT_TRUE(RecordValues().empty());
            EXPECT_FALSE(FileExists(target.InstallDir())) << testing::PrintToString(FilesBelow(target.InstallDir()));
        }
}
