#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Folders.h"
#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "SetupSession.h"
#include "UninstallRun.h"

namespace
{
constexpr DWORD kEndTimeoutMs = 60000;

struct SProgramEnd
{
    bool bEnded = false;
    DWORD dwExitCode = 0;
    bool bBoxShown = false;
};

// Runs strCommandLine as a deployment script does and waits for the started program's end,
// noting any box of the uninstall program meanwhile.
SProgramEnd RunAndWait(std::string strCommandLine)
{
    SProgramEnd end;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &strCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    {
        ADD_FAILURE() << "cannot start " << strCommandLine << ": error " << GetLastError();
        return end;
    }
    CloseHandle(process.hThread);
    end.bEnded = WaitUntil(
        [&] {
            end.bBoxShown = end.bBoxShown || !ListMessageBoxesTitled("Zanto Demo").empty();
            return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
        },
        kEndTimeoutMs);
    if (end.bEnded)
        GetExitCodeProcess(process.hProcess, &end.dwExitCode);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    return end;
}

void InstallSilently(CSetupSession& session, bool bEnglish, const CInstallTarget& target)
{
    session.Start(std::string("/VERYSILENT /LANG=") + (bEnglish ? "en" : "de") + " /DIR=\"" + target.InstallDir() +
                  "\" /GROUP=\"" + target.MenuFolder() + "\"");
    ASSERT_TRUE(session.Process().WaitForExit(kEndTimeoutMs)) << session.Diagnose();
    ASSERT_EQ(0u, session.Process().GetExitCode());
}

// The log's events without their time stamps.
std::vector<std::string> LogEvents(const std::string& strPath)
{
    std::vector<std::string> events;
    const std::string strText = FileExists(strPath) ? ReadFileBytes(strPath) : std::string();
    for (size_t nPos = 0; nPos < strText.size();)
    {
        const size_t nEnd = strText.find("\r\n", nPos);
        if (nEnd == std::string::npos)
            break;
        events.push_back(nEnd - nPos > 24 ? strText.substr(nPos + 24, nEnd - nPos - 24) : std::string());
        nPos = nEnd + 2;
    }
    return events;
}

bool Has(const std::vector<std::string>& events, const std::string& strEvent)
{
    return std::find(events.begin(), events.end(), strEvent) != events.end();
}

std::string QuietCommand(const char* pszSilence, const std::string& strLog)
{
    std::string strCommand = RecordValues()["QuietUninstallString"];
    const size_t nSwitch = strCommand.rfind(" /SILENT");
    if (nSwitch != std::string::npos)
        strCommand.replace(nSwitch + 1, std::string::npos, pszSilence);
    return strCommand + " /LOG=\"" + strLog + "\"";
}
}

struct SSilentRemovalCase
{
    const char* pszName;
    const char* pszSilence;
    bool bEnglish;
};

void PrintTo(const SSilentRemovalCase& c, std::ostream* pStream)
{
    *pStream << c.pszName;
}

class SilentUninstallTest : public testing::TestWithParam<SSilentRemovalCase>
{
};

// The record's QuietUninstallString removes without a word: when the started program ends, only
// uninstall.exe and its folders are left, and they follow within 30 seconds.
TEST_P(SilentUninstallTest, RemovesAllButItselfByItsEndAndItselfSoonAfter)
{
    const SSilentRemovalCase& c = GetParam();
    CInstallTarget target;
    CSetupSession session;
    CUninstallRun run;
    InstallSilently(session, c.bEnglish, target);
    if (HasFatalFailure())
        return;
    std::vector<std::string> installed = FilesBelow(target.InstallDir());
    const std::string strLog = session.MediumFile("uninstall.log");

    const SProgramEnd end = RunAndWait(QuietCommand(c.pszSilence, strLog));
    ASSERT_TRUE(end.bEnded) << run.Diagnose();
    EXPECT_EQ(0u, end.dwExitCode);
    EXPECT_FALSE(end.bBoxShown);
    EXPECT_TRUE(RecordValues().empty());
    EXPECT_FALSE(FileExists(target.MenuPath()));
    const std::vector<std::string> left = FilesBelow(target.InstallDir());
    EXPECT_TRUE(left.empty() || left == std::vector<std::string>{"uninstall.exe"}) << testing::PrintToString(left);

    EXPECT_TRUE(WaitUntil([&] { return !FileExists(target.InstallParent()); }, 30000))
        << testing::PrintToString(FilesBelow(target.InstallParent()));
    EXPECT_TRUE(run.WaitForCopyGone()) << "the copy in the temporary folder stayed";

    const std::vector<std::string> events = LogEvents(strLog);
    for (const std::string& strFile : installed)
        if (strFile != "uninstall.exe")
        {
            EXPECT_TRUE(Has(events, "File removed: " + target.InstallDir() + "\\" + strFile)) << strFile;
        }
    ASSERT_FALSE(events.empty());
    EXPECT_EQ("Result: removed; exit code 0", events.back());
}

INSTANTIATE_TEST_SUITE_P(Switches, SilentUninstallTest,
                         testing::Values(SSilentRemovalCase{"SilentEnglish", "/SILENT", true},
                                         SSilentRemovalCase{"VerySilentGerman", "/VERYSILENT", false}),
                         [](const testing::TestParamInfo<SSilentRemovalCase>& info) { return info.param.pszName; });

// A read-only file: code 4, and the record and the list stay for another try, which finishes.
// uninstall.exe itself, which goes after the started program, stops the run the same way.
TEST(SilentUninstallFailureTest, AReadOnlyFileEndsWithFourAndKeepsTheRecord)
{
    for (const char* pszLocked : {"data\\maps\\caves.map", "uninstall.exe"})
    {
        SCOPED_TRACE(pszLocked);
        CInstallTarget target;
        CSetupSession session;
        CUninstallRun run;
        InstallSilently(session, true, target);
        if (HasFatalFailure())
            return;
        const std::string strLocked = target.InstallDir() + "\\" + pszLocked;
        ASSERT_TRUE(SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_READONLY));
        const std::string strLog = session.MediumFile("uninstall.log");

        SProgramEnd end = RunAndWait(QuietCommand("/SILENT", strLog));
        ASSERT_TRUE(end.bEnded) << run.Diagnose();
        EXPECT_EQ(4u, end.dwExitCode);
        EXPECT_FALSE(end.bBoxShown);
        EXPECT_EQ(kRecordValueCount, RecordValues().size());
        EXPECT_TRUE(FileExists(strLocked));
        EXPECT_TRUE(FileExists(target.InstallDir() + "\\uninstall.dat"));
        EXPECT_TRUE(FileExists(target.InstallDir() + "\\uninstall.exe"));
        const std::vector<std::string> events = LogEvents(strLog);
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ(0u, events[events.size() - 2].find("Failure: Zugriff auf " + strLocked + " wurde verwehrt. (Windows error 5: "))
            << events[events.size() - 2];
        EXPECT_EQ("Result: a file could not be removed; the record and the list stay; exit code 4", events.back());
        EXPECT_TRUE(run.WaitForCopyGone());

        ASSERT_TRUE(SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_NORMAL));
        end = RunAndWait(QuietCommand("/SILENT", strLog));
        ASSERT_TRUE(end.bEnded) << run.Diagnose();
        EXPECT_EQ(0u, end.dwExitCode);
        EXPECT_TRUE(RecordValues().empty());
        EXPECT_TRUE(WaitUntil([&] { return !FileExists(target.InstallParent()); }, 30000));
    }
}

// Nothing to remove, or a switch it does not know: code 1 and no box.
TEST(SilentUninstallFailureTest, NoInstallationOrABadSwitchEndsWithOne)
{
    CSetupSession session;
    CUninstallRun run;
    const std::string strProgram = HostPath("ZANTO_PAYLOAD") + "\\uninstall.exe";
    for (const char* pszSwitches : {"/SILENT", "/VERYSILENT /QUIET", "/SILENT /LOG="})
    {
        SCOPED_TRACE(pszSwitches);
        const SProgramEnd end = RunAndWait("\"" + strProgram + "\" " + pszSwitches);
        ASSERT_TRUE(end.bEnded) << run.Diagnose();
        EXPECT_EQ(1u, end.dwExitCode);
        EXPECT_FALSE(end.bBoxShown);
    }
    EXPECT_TRUE(FileExists(strProgram));
}
