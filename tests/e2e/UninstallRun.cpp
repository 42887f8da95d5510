#include "UninstallRun.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <cstring>

#include "DriverError.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "SetupSession.h"
#include "WindowFinder.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
// The copy's folder in the temporary folder, and the copy in it.
constexpr const char* kCopyPrefix = "ZantoUninstall";

std::string TempFolder()
{
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    return szTemp;
}

// The entries named like the copy in strFolder, folders after what they hold.
void ListCopyEntries(const std::string& strFolder, std::vector<std::string>& entries)
{
    WIN32_FIND_DATAA data;
    const HANDLE hFind = FindFirstFileA((strFolder + kCopyPrefix + "*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do
    {
        const std::string strPath = strFolder + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListCopyEntries(strPath + "\\", entries);
        entries.push_back(strPath);
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
}

// The copy's folders in the temporary folder, with the copy in them.
std::vector<std::string> CopyFiles()
{
    std::vector<std::string> entries;
    ListCopyEntries(TempFolder(), entries);
    return entries;
}

constexpr const char* kBoxTitle = "Zanto Demo";

void StartAndWaitForEnd(const std::string& strProgram, std::string strCommandLine, const char* pszFolder)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(strProgram.empty() ? nullptr : strProgram.c_str(), &strCommandLine[0], nullptr,
                               nullptr, FALSE, 0, nullptr, pszFolder, &startup, &process))
        << "cannot start " << strCommandLine << ": error " << GetLastError();
    CloseHandle(process.hThread);
    const DWORD dwWait = WaitForSingleObject(process.hProcess, 30000);
    if (dwWait != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    ASSERT_EQ(WAIT_OBJECT_0, dwWait) << "the started uninstall.exe did not hand over and end";
}
}

const char* RemovedMessage(bool bEnglish)
{
    return bEnglish ? "Zanto Demo was removed from your computer." : "Zanto Demo wurde von Ihrem Computer entfernt.";
}

const char* NotInstalledMessage(bool bEnglish)
{
    return bEnglish ? "Zanto Demo is not installed." : "Zanto Demo ist nicht installiert.";
}

const char* SetupRunningMessage(bool bEnglish)
{
    return bEnglish ? "Zanto Demo Setup is running. Please close it first."
                    : "Zanto Demo Setup läuft bereits. Bitte schließen Sie es zuerst.";
}

void InstallAndQuit(CSetupSession& session, bool bEnglish, const CInstallTarget& target)
{
    CWindowDriver main = session.StartInLanguage(bEnglish);
    InstallThroughWizard(session, main, bEnglish, target);
    if (testing::Test::HasFatalFailure())
        return;
    main.Click(IDCANCEL);
    ASSERT_TRUE(session.Process().WaitForExit()) << session.Diagnose();
}

CUninstallRun::~CUninstallRun()
{
    const HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot != INVALID_HANDLE_VALUE)
    {
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof(entry);
        for (BOOL bMore = Process32First(hSnapshot, &entry); bMore; bMore = Process32Next(hSnapshot, &entry))
        {
            if (_strnicmp(entry.szExeFile, kCopyPrefix, std::strlen(kCopyPrefix)) != 0)
                continue;
            const HANDLE hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
            if (hProcess == nullptr)
                continue;
            TerminateProcess(hProcess, 1);
            WaitForSingleObject(hProcess, 10000);
            CloseHandle(hProcess);
        }
        CloseHandle(hSnapshot);
    }
    WaitForCopyGone(5000);
    for (const std::string& strEntry : CopyFiles())
        if (!DeleteFileA(strEntry.c_str()))
            RemoveDirectoryA(strEntry.c_str());
}

void CUninstallRun::Start(EUninstallStart eStart, bool bEnglish, const CInstallTarget& target)
{
    if (eStart == EUninstallStart::Record)
    {
        StartFromRecord();
        return;
    }
    const std::string strLink =
        target.MenuPath() + (bEnglish ? "\\Deinstall Zanto.lnk" : "\\Zanto deinstallieren.lnk");
    const SLinkInfo link = ReadLink(strLink);
    StartAndWaitForEnd(link.strTarget, "\"" + link.strTarget + "\"",
                       link.strWorkingDir.empty() ? nullptr : link.strWorkingDir.c_str());
}

void CUninstallRun::StartFromRecord()
{
    const std::string strCommand = RecordValues()["UninstallString"];
    ASSERT_FALSE(strCommand.empty()) << "no UninstallString";
    StartAndWaitForEnd(std::string(), strCommand, nullptr);
}

void CUninstallRun::StartFile(const std::string& strProgram)
{
    StartAndWaitForEnd(strProgram, "\"" + strProgram + "\"", nullptr);
}

HWND CUninstallRun::WaitForBox(const std::string& strText, DWORD dwTimeoutMs) const
{
    return WaitForTitledMessageBox(kBoxTitle, strText, dwTimeoutMs);
}

void CUninstallRun::AnswerBox(const std::string& strText, int nButton) const
{
    const HWND hBox = WaitForBox(strText);
    ASSERT_NE(nullptr, hBox) << "no box \"" << strText << "\"" << Diagnose();
    AnswerMessageBox(hBox, nButton);
    ASSERT_TRUE(WaitForWindowGone(hBox));
}

std::string CUninstallRun::Diagnose() const
{
    std::string strText;
    for (const HWND hBox : ListMessageBoxesTitled(kBoxTitle))
    {
        try
        {
            strText += "\nuninstall box: " + ReadMessageBoxText(hBox);
        }
        catch (const CDriverError&)
        {
        }
    }
    return strText;
}

bool CUninstallRun::WaitForCopyGone(DWORD dwTimeoutMs) const
{
    return WaitUntil([] { return CopyFiles().empty(); }, dwTimeoutMs);
}
