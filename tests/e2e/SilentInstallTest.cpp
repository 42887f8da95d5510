#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Folders.h"
#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "ScopedHandle.h"
#include "SetupSession.h"
#include "WindowFinder.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
// A silent run ends by itself: the wait for it is long enough for a busy machine.
constexpr DWORD kRunTimeoutMs = 120000;

bool IsTimeStamped(const std::string& strLine)
{
    const char* const pszPattern = "dddd-dd-dd dd:dd:dd.ddd ";
    const size_t nLength = std::char_traits<char>::length(pszPattern);
    if (strLine.size() <= nLength)
        return false;
    for (size_t n = 0; n < nLength; ++n)
    {
        const bool bDigit = std::isdigit(static_cast<unsigned char>(strLine[n])) != 0;
        if (pszPattern[n] == 'd' ? !bDigit : strLine[n] != pszPattern[n])
            return false;
    }
    return true;
}

// The log's events, each line's time stamp checked and taken off; empty when there is no log.
std::vector<std::string> ReadLog(const std::string& strPath)
{
    std::vector<std::string> events;
    if (!FileExists(strPath))
        return events;
    const std::string strText = ReadFileBytes(strPath);
    size_t nPos = 0;
    while (nPos < strText.size())
    {
        const size_t nEnd = strText.find("\r\n", nPos);
        if (nEnd == std::string::npos)
        {
            ADD_FAILURE() << "a line without its end: " << strText.substr(nPos);
            break;
        }
        const std::string strLine = strText.substr(nPos, nEnd - nPos);
        EXPECT_TRUE(IsTimeStamped(strLine)) << strLine;
        events.push_back(strLine.size() > 24 ? strLine.substr(24) : strLine);
        nPos = nEnd + 2;
    }
    return events;
}

bool HasEvent(const std::vector<std::string>& events, const std::string& strStart)
{
    return std::any_of(events.begin(), events.end(),
                       [&](const std::string& strEvent) { return strEvent.compare(0, strStart.size(), strStart) == 0; });
}

std::string LastEvent(const std::vector<std::string>& events)
{
    return events.empty() ? std::string("(no log)") : events.back();
}

bool IsMainWindow(HWND hWnd)
{
    return GetDlgItem(hWnd, IDC_LICENSE_TEXT) != nullptr;
}

// What the windows of a run showed while it ran.
struct SRunView
{
    bool bEnded = false;
    DWORD dwExitCode = 0;
    // Any window of the program on screen: the main window, the language dialog or a box.
    bool bWindowShown = false;
    bool bBoxShown = false;
    bool bMainWindowShown = false;
    // The page controls that the main window showed besides the installation page's own.
    std::vector<int> otherControlsShown;
};

// Starts the program with strArguments and watches its windows until it ends; fnWhileRunning
// runs at every look with the main window, when it exists, shown or not.
SRunView RunToTheEnd(CSetupSession& session, const std::string& strArguments,
                     const std::function<void(HWND)>& fnWhileRunning = {})
{
    SRunView view;
    // A silent run is busy from its start: the watch begins at once.
    session.Start(strArguments, false);
    const DWORD dwPid = session.Process().GetPid();
    view.bEnded = WaitUntil(
        [&] {
            for (const HWND hWindow : ListProcessWindows(dwPid))
            {
                view.bWindowShown = true;
                view.bBoxShown = view.bBoxShown || IsMessageBox(hWindow);
                if (!IsMainWindow(hWindow))
                    continue;
                view.bMainWindowShown = true;
                for (const int nID : g_anPageControls)
                {
                    const HWND hControl = GetDlgItem(hWindow, nID);
                    const bool bOwn = nID == IDC_PROGRESS || nID == IDC_STATUS || nID == IDC_PERCENT;
                    if (!bOwn && hControl != nullptr && IsWindowVisible(hControl) &&
                        std::find(view.otherControlsShown.begin(), view.otherControlsShown.end(), nID) ==
                            view.otherControlsShown.end())
                        view.otherControlsShown.push_back(nID);
                }
            }
            if (fnWhileRunning)
                if (const HWND hMain = FindProcessWindow(dwPid, IsMainWindow, true); hMain != nullptr)
                    fnWhileRunning(hMain);
            return !session.Process().IsRunning();
        },
        kRunTimeoutMs);
    if (view.bEnded)
        view.dwExitCode = session.Process().GetExitCode();
    return view;
}

std::string Quoted(const std::string& strText)
{
    return "\"" + strText + "\"";
}

// The switches that place an installation into target, the start menu folder typed without its
// leading backslash, as deployment scripts write it.
std::string TargetSwitches(const CInstallTarget& target)
{
    return "/DIR=" + Quoted(target.InstallDir()) + " /GROUP=" + Quoted(target.MenuFolder().substr(1));
}

void ExpectNothingWritten(const CInstallTarget& target)
{
    EXPECT_FALSE(FileExists(target.InstallParent())) << testing::PrintToString(FilesBelow(target.InstallParent()));
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_TRUE(RecordValues().empty());
}

// Every installed file appears in the log as written.
void ExpectEveryFileLogged(const std::vector<std::string>& events, const CInstallTarget& target)
{
    for (const std::string& strFile : FilesBelow(target.InstallDir()))
    {
        if (strFile != "uninstall.dat")
        {
            EXPECT_TRUE(HasEvent(events, "File written: " + target.InstallDir() + "\\" + strFile)) << strFile;
        }
    }
}
}

struct SSilentCase
{
    const char* pszName;
    const char* pszSwitches;
    bool bEnglish;
    bool bWindow;
};

void PrintTo(const SSilentCase& c, std::ostream* pStream)
{
    *pStream << c.pszName;
}

class SilentInstallTest : public testing::TestWithParam<SSilentCase>
{
};

// The same installation as the wizard's: files, shortcuts and record, and code 0. /VERYSILENT shows
// no window; /SILENT shows the installation page and nothing else.
TEST_P(SilentInstallTest, InstallsAsTheWizardDoesAndEndsWithZero)
{
    const SSilentCase& c = GetParam();
    CInstallTarget target;
    CSetupSession session;
    const std::string strLog = session.MediumFile("run.log");
    const SRunView view =
        RunToTheEnd(session, std::string(c.pszSwitches) + " " + TargetSwitches(target) + " /LOG=" + Quoted(strLog));
    ASSERT_TRUE(view.bEnded) << session.Diagnose();
    EXPECT_EQ(0u, view.dwExitCode);
    EXPECT_FALSE(view.bBoxShown);
    EXPECT_EQ(c.bWindow, view.bMainWindowShown);
    if (!c.bWindow)
    {
        EXPECT_FALSE(view.bWindowShown);
    }
    EXPECT_TRUE(view.otherControlsShown.empty()) << testing::PrintToString(view.otherControlsShown);
    ExpectCompleteInstallation(c.bEnglish, target);

    const std::vector<std::string> events = ReadLog(strLog);
    EXPECT_TRUE(HasEvent(events, "ZantoSetup ")) << LastEvent(events);
    EXPECT_TRUE(HasEvent(events, std::string("Language: ") + (c.bEnglish ? "English" : "German")));
    EXPECT_TRUE(HasEvent(events, "Install folder: " + target.InstallDir()));
    EXPECT_TRUE(HasEvent(events, "Shortcut " + target.MenuPath() + "\\"));
    ExpectEveryFileLogged(events, target);
    EXPECT_EQ("Result: success; exit code 0", LastEvent(events));
}

INSTANTIATE_TEST_SUITE_P(
    Switches, SilentInstallTest,
    testing::Values(SSilentCase{"VerySilentEnglish", "/VERYSILENT /LANG=en", true, false},
                    SSilentCase{"VerySilentGerman", "/verysilent /lang=de /SP- /SUPPRESSMSGBOXES /NORESTART", false,
                                false},
                    SSilentCase{"SilentEnglish", "/SILENT /LANG=en", true, true},
                    SSilentCase{"SilentGerman", "/Silent /LANG=DE", false, true}),
    [](const testing::TestParamInfo<SSilentCase>& info) { return info.param.pszName; });

// Without /LANG the language is the one that the language dialog would preset.
TEST(SilentInstallLanguageTest, WithoutLangTheKeyboardLayoutChooses)
{
    CInstallTarget target;
    CSetupSession session;
    const SRunView view = RunToTheEnd(session, "/VERYSILENT " + TargetSwitches(target));
    ASSERT_TRUE(view.bEnded) << session.Diagnose();
    EXPECT_EQ(0u, view.dwExitCode);
    ExpectCompleteInstallation(!IsGermanLayoutRun(), target);
}

// Nothing can start: code 1, nothing written and nothing shown; the log says why.
struct SRefusedCase
{
    const char* pszName;
    // The switches besides /VERYSILENT, /LANG and /LOG.
    std::function<std::string(const CInstallTarget&)> fnSwitches;
    // What is done to the medium before the run.
    std::function<void(CSetupSession&)> fnDamage;
    // The start of the log's failure line; nullptr where no log may be written.
    const char* pszFailure;
};

void PrintTo(const SRefusedCase& c, std::ostream* pStream)
{
    *pStream << c.pszName;
}

class SilentRefusalTest : public testing::TestWithParam<SRefusedCase>
{
};

TEST_P(SilentRefusalTest, EndsWithOneAndWritesNothing)
{
    const SRefusedCase& c = GetParam();
    CInstallTarget target;
    CSetupSession session;
    if (c.fnDamage)
        c.fnDamage(session);
    const std::string strLog = session.MediumFile("run.log");
    const SRunView view =
        RunToTheEnd(session, "/VERYSILENT /LANG=en /LOG=" + Quoted(strLog) + " " + c.fnSwitches(target));
    ASSERT_TRUE(view.bEnded) << session.Diagnose();
    EXPECT_EQ(1u, view.dwExitCode);
    EXPECT_FALSE(view.bWindowShown);
    ExpectNothingWritten(target);

    const std::vector<std::string> events = ReadLog(strLog);
    if (c.pszFailure == nullptr)
    {
        EXPECT_TRUE(events.empty()) << LastEvent(events);
        return;
    }
    EXPECT_TRUE(HasEvent(events, c.pszFailure)) << testing::PrintToString(events);
    EXPECT_EQ("Result: the run could not start; exit code 1", LastEvent(events));
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, SilentRefusalTest,
    testing::Values(
        SRefusedCase{"RelativeFolder",
                     [](const CInstallTarget& target) { return "/DIR=Zanto /GROUP=" + Quoted(target.MenuFolder()); },
                     nullptr, "Failure: The install folder is no full local path: Zanto"},
        SRefusedCase{"FolderWithParentComponent",
                     [](const CInstallTarget& target) {
                         return "/DIR=" + Quoted(target.InstallDir() + "\\..\\Zanto") +
                                " /GROUP=" + Quoted(target.MenuFolder());
                     },
                     nullptr, "Failure: The install folder is no full local path"},
        // A drive that is not there has no room at all.
        SRefusedCase{"DriveWithoutRoom",
                     [](const CInstallTarget& target) { return "/DIR=Q:\\Zanto /GROUP=" + Quoted(target.MenuFolder()); },
                     nullptr, "Failure: Not enough room on drive Q:"},
        SRefusedCase{"MenuFolderOutsideTheStartMenu",
                     [](const CInstallTarget& target) {
                         return "/DIR=" + Quoted(target.InstallDir()) + " /GROUP=..\\..\\Zanto";
                     },
                     nullptr, "Failure: The start menu folder is not one the start menu takes"},
        SRefusedCase{"IniMissing", TargetSwitches,
                     [](CSetupSession& session) { DeleteFileA(session.MediumFile("setup_en.ini").c_str()); },
                     "Message: INI-File not found"},
        SRefusedCase{"LicenceMissing", TargetSwitches,
                     [](CSetupSession& session) { DeleteFileA(session.MediumFile("eula_en.txt").c_str()); },
                     "Message: eule_en.txt not found"},
        // A bad switch or value writes nothing at all, not even the log.
        SRefusedCase{"UnknownSwitch",
                     [](const CInstallTarget& target) { return TargetSwitches(target) + " /QUIET"; }, nullptr,
                     nullptr},
        SRefusedCase{"UnknownLanguage",
                     [](const CInstallTarget& target) { return TargetSwitches(target) + " /LANG=fr"; }, nullptr,
                     nullptr},
        SRefusedCase{"UnquotedFolderWithBlanks",
                     [](const CInstallTarget& target) {
                         return "/DIR=" + target.InstallParent() + "\\Zanto Demo /GROUP=" + Quoted(target.MenuFolder());
                     },
                     nullptr, nullptr}),
    [](const testing::TestParamInfo<SRefusedCase>& info) { return info.param.pszName; });

TEST(SilentRefusalTest, ALogThatCannotBeWrittenEndsTheRunFirst)
{
    CInstallTarget target;
    CSetupSession session;
    const SRunView view = RunToTheEnd(
        session, "/VERYSILENT " + TargetSwitches(target) + " /LOG=" + Quoted(session.MediumFile("no\\such\\run.log")));
    ASSERT_TRUE(view.bEnded) << session.Diagnose();
    EXPECT_EQ(1u, view.dwExitCode);
    EXPECT_FALSE(view.bWindowShown);
    ExpectNothingWritten(target);
}

TEST(SilentRefusalTest, AnotherSetupAtWorkEndsTheRunWithOne)
{
    CInstallTarget target;
    CSetupSession session;
    const CScopedHandle hMutex(CreateMutexA(nullptr, TRUE, "Global\\ZantoDemoSetup"));
    ASSERT_TRUE(hMutex.IsValid());
    const std::string strLog = session.MediumFile("run.log");
    const SRunView view = RunToTheEnd(session, "/VERYSILENT /LANG=en " + TargetSwitches(target) + " /LOG=" + Quoted(strLog));
    ReleaseMutex(hMutex.Get());
    ASSERT_TRUE(view.bEnded) << session.Diagnose();
    EXPECT_EQ(1u, view.dwExitCode);
    EXPECT_FALSE(view.bWindowShown);
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_TRUE(RecordValues().empty());
    const std::vector<std::string> events = ReadLog(strLog);
    EXPECT_TRUE(HasEvent(events, "Message: Zanto Demo Setup is running. Please close it first."));
    EXPECT_EQ("Result: the run could not start; exit code 1", LastEvent(events));
}

// A failed step: code 4, everything undone, and the cause in the log.
struct SStepFailureCase
{
    const char* pszName;
    // Makes the step fail for as long as the returned object lives.
    std::function<std::shared_ptr<void>(CSetupSession&)> fnBreak;
    const char* pszFailure;
};

void PrintTo(const SStepFailureCase& c, std::ostream* pStream)
{
    *pStream << c.pszName;
}

class SilentStepFailureTest : public testing::TestWithParam<SStepFailureCase>
{
};

TEST_P(SilentStepFailureTest, EndsWithFourAndUndoesEverything)
{
    const SStepFailureCase& c = GetParam();
    CInstallTarget target;
    CSetupSession session;
    const std::shared_ptr<void> pBreakage = c.fnBreak(session);
    const std::string strLog = session.MediumFile("run.log");
    const SRunView view = RunToTheEnd(session, "/VERYSILENT /LANG=en " + TargetSwitches(target) + " /LOG=" + Quoted(strLog));
    ASSERT_TRUE(view.bEnded) << session.Diagnose();
    EXPECT_EQ(4u, view.dwExitCode);
    EXPECT_FALSE(view.bWindowShown);
    EXPECT_FALSE(FileExists(target.InstallDir())) << testing::PrintToString(FilesBelow(target.InstallDir()));
    EXPECT_FALSE(FileExists(target.MenuPath()));

    const std::vector<std::string> events = ReadLog(strLog);
    EXPECT_TRUE(HasEvent(events, c.pszFailure)) << testing::PrintToString(events);
    EXPECT_TRUE(HasEvent(events, "Clean-up of " + target.InstallDir()));
    EXPECT_EQ("Result: the installation failed and was undone; exit code 4", LastEvent(events));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SilentStepFailureTest,
    testing::Values(
        SStepFailureCase{"LanguageFileUnreadable",
                         [](CSetupSession& session) -> std::shared_ptr<void> {
                             const HANDLE hFile = CreateFileA(session.MediumFile("en\\readme.txt").c_str(), GENERIC_READ,
                                                              0, nullptr, OPEN_EXISTING, 0, nullptr);
                             return std::shared_ptr<void>(hFile, [](HANDLE h) { CloseHandle(h); });
                         },
                         "Failure: Cannot copy "},
        SStepFailureCase{"CabinetDamaged",
                         [](CSetupSession& session) -> std::shared_ptr<void> {
                             WriteTextFile(session.MediumFile("data.cab"), "MSCF? no.");
                             return nullptr;
                         },
                         "Failure: data.cab is missing, unreadable or damaged"},
        SStepFailureCase{"RecordCannotBeWritten",
                         [](CSetupSession&) -> std::shared_ptr<void> { return std::make_shared<CLockedRecord>(); },
                         "Failure: Cannot write the uninstall record"}),
    [](const testing::TestParamInfo<SStepFailureCase>& info) { return info.param.pszName; });

// /SILENT's Cancel undoes the installation and ends with 5. The click is posted as soon as the
// main window exists: the program takes it before its installation begins, or at its first file
// and then undoes what it wrote. The language tree is made long, so that the installation is
// still copying when it takes the click.
TEST(SilentCancelTest, CancelOnTheInstallationPageUndoesAndEndsWithFive)
{
    CInstallTarget target;
    CSetupSession session;
    for (int nFile = 0; nFile < 1500; ++nFile)
        WriteTextFile(session.MediumFile(("en\\extra" + std::to_string(nFile) + ".txt").c_str()), "x");
    const std::string strLog = session.MediumFile("run.log");
    bool bCancelled = false;
    const SRunView view =
        RunToTheEnd(session, "/SILENT /LANG=en " + TargetSwitches(target) + " /LOG=" + Quoted(strLog), [&](HWND hMain) {
            if (bCancelled)
                return;
            bCancelled = PostMessageA(hMain, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                                      reinterpret_cast<LPARAM>(GetDlgItem(hMain, IDCANCEL))) != FALSE;
        });
    ASSERT_TRUE(view.bEnded) << session.Diagnose();
    ASSERT_TRUE(bCancelled) << "the installation ended before the cancel";
    EXPECT_EQ(5u, view.dwExitCode);
    EXPECT_FALSE(view.bBoxShown) << "a silent run asks no question";
    EXPECT_FALSE(FileExists(target.InstallDir())) << testing::PrintToString(FilesBelow(target.InstallDir()));
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_TRUE(RecordValues().empty());
    const std::vector<std::string> events = ReadLog(strLog);
    // Taken during the installation, the clean-up undid what was written.
    if (HasEvent(events, "Folder made: "))
    {
        EXPECT_TRUE(HasEvent(events, "Clean-up of " + target.InstallDir()));
    }
    EXPECT_EQ("Result: the installation was cancelled and undone; exit code 5", LastEvent(events));
}

// A second silent run finds the installation: nothing changes, the log says where it is.
TEST(SilentInstalledTest, AnInstalledGameIsLeftAsItIsWithZero)
{
    CInstallTarget target;
    CInstallTarget other;
    CSetupSession session;
    SRunView view = RunToTheEnd(session, "/VERYSILENT /LANG=en " + TargetSwitches(target));
    ASSERT_TRUE(view.bEnded && view.dwExitCode == 0) << session.Diagnose();
    const std::vector<std::string> installed = FilesBelow(target.InstallDir());
    const auto record = RecordValues();

    const std::string strLog = session.MediumFile("run.log");
    view = RunToTheEnd(session, "/VERYSILENT /LANG=en " + TargetSwitches(other) + " /LOG=" + Quoted(strLog));
    ASSERT_TRUE(view.bEnded) << session.Diagnose();
    EXPECT_EQ(0u, view.dwExitCode);
    EXPECT_EQ(installed, FilesBelow(target.InstallDir()));
    EXPECT_EQ(record, RecordValues());
    EXPECT_FALSE(FileExists(other.InstallParent()));
    const std::vector<std::string> events = ReadLog(strLog);
    EXPECT_TRUE(HasEvent(events, "Zanto is installed already in " + target.InstallDir())) << testing::PrintToString(events);
    EXPECT_EQ("Result: success; exit code 0", LastEvent(events));
}

// The usage box: asked for, or after a bad switch in a run with windows.
TEST(UsageBoxTest, ListsTheSwitchesAndEndsWithItsCode)
{
    struct SUsageCase
    {
        const char* pszSwitches;
        DWORD dwExitCode;
        const char* pszStart;
    };
    for (const SUsageCase& c : {SUsageCase{"/? /LANG=en", 0, "ZantoSetup [/SILENT | /VERYSILENT]"},
                                SUsageCase{"/HELP /LANG=de", 0, "ZantoSetup [/SILENT | /VERYSILENT]"},
                                SUsageCase{"/LANG=en /QUIET", 1, "ZantoSetup [/SILENT | /VERYSILENT]"}})
    {
        SCOPED_TRACE(c.pszSwitches);
        CSetupSession session;
        session.Start(c.pszSwitches);
        const HWND hBox = WaitForMessageBox(session.Process().GetPid(), 30000);
        ASSERT_NE(nullptr, hBox) << session.Diagnose();
        const std::string strText = ReadMessageBoxText(hBox);
        EXPECT_EQ(0u, strText.find(c.pszStart)) << strText;
        EXPECT_NE(std::string::npos, strText.find("/VERYSILENT")) << strText;
        EXPECT_NE(std::string::npos, strText.find(" 5 ")) << strText;
        AnswerMessageBox(hBox, IDOK);
        ASSERT_TRUE(session.Process().WaitForExit()) << session.Diagnose();
        EXPECT_EQ(c.dwExitCode, session.Process().GetExitCode());
    }
}

// /LOG without /SILENT: the wizard is the same, and the log holds every file written, the record
// and, after Deinstall, every file removed; the last line is written when the wizard is closed.
TEST(WizardLogTest, TheWizardWritesTheLogOfWhatItDid)
{
    CInstallTarget target;
    CSetupSession session;
    const std::string strLog = session.MediumFile("run.log");
    CWindowDriver main = session.StartInLanguage(false, "/LOG=" + Quoted(strLog));
    InstallThroughWizard(session, main, false, target);
    if (HasFatalFailure())
        return;
    const std::vector<std::string> installed = FilesBelow(target.InstallDir());
    Deinstall(session, main, false);
    ASSERT_TRUE(WaitForInstallOffered(main, false)) << session.Diagnose();
    main.Click(IDCANCEL);
    ASSERT_TRUE(session.Process().WaitForExit()) << session.Diagnose();
    EXPECT_EQ(0u, session.Process().GetExitCode());

    const std::vector<std::string> events = ReadLog(strLog);
    EXPECT_TRUE(HasEvent(events, "Language: German"));
    EXPECT_TRUE(HasEvent(events, "Message: Installation erfolgreich abgeschlossen."));
    EXPECT_TRUE(HasEvent(events, "Record value QuietUninstallString = \"" + target.InstallDir() + "\\uninstall.exe\" /SILENT"));
    for (const std::string& strFile : installed)
    {
        SCOPED_TRACE(strFile);
        if (strFile != "uninstall.dat")
        {
            EXPECT_TRUE(HasEvent(events, "File written: " + target.InstallDir() + "\\" + strFile));
        }
        EXPECT_TRUE(HasEvent(events, "File removed: " + target.InstallDir() + "\\" + strFile));
    }
    EXPECT_EQ("Result: the wizard was closed; exit code 0", LastEvent(events));
}
