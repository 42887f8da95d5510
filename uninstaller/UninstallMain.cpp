// Entry point of uninstall.exe. Windows starts it from the install folder: it then hands over to
// a copy of itself in the temporary folder, so that the removal can take its file too. In an
// interactive run it ends at once, and the copy waits for it before it removes; in a silent run
// (/SILENT, /VERYSILENT) it waits for the copy and ends with the copy's exit code, and the copy
// leaves its file and folders to a batch file that deletes them once it has ended.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CopyArguments.h"
#include "ExitCodes.h"
#include "RemovalCopy.h"
#include "RunLog.h"
#include "SelfDeletion.h"
#include "Uninstall.h"
#include "UninstallBox.h"
#include "UninstallSwitches.h"
#include "ZantoVersion.h"

namespace
{
const char* ResultText(int nExitCode)
{
    switch (nExitCode)
    {
    case kExitSuccess:
        return "removed";
    case kExitFailed:
        return "a file could not be removed; the record and the list stay";
    default:
        return "nothing was removed";
    }
}

// The copy does the work; the switches are those that the original checked.
int RunAsCopy(std::uintptr_t nOriginal, const std::string& strSwitches)
{
    SUninstallOptions options;
    ParseUninstallArguments(strSwitches, options);
    if (!options.strLog.empty())
        OpenRunLog(options.strLog, true);
    std::vector<std::string> leftFolders;
    int nExitCode;
    if (options.bSilent)
    {
        const std::string strOriginal = OriginalProgramFile(nOriginal);
        nExitCode = Uninstall(true, strOriginal, leftFolders);
        LogResult(ResultText(nExitCode), nExitCode);
        CloseRunLog();
        // The original's file goes only with the installation it belonged to.
        DeleteSelfAfterExit(nExitCode == kExitSuccess ? strOriginal : std::string(), leftFolders);
        return nExitCode;
    }
    WaitForOriginal(nOriginal);
    nExitCode = Uninstall(false, std::string(), leftFolders);
    LogResult(ResultText(nExitCode), nExitCode);
    CloseRunLog();
    DeleteSelfAfterExit();
    return nExitCode;
}

std::string FullPath(const std::string& strPath)
{
    char szFull[MAX_PATH];
    const DWORD nLength = GetFullPathNameA(strPath.c_str(), sizeof(szFull), szFull, nullptr);
    return nLength > 0 && nLength < sizeof(szFull) ? std::string(szFull, nLength) : std::string();
}
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR pszArguments, int)
{
    std::uintptr_t nOriginal = 0;
    std::string strSwitches;
    if (ParseCopyArguments(pszArguments, nOriginal, &strSwitches))
        return RunAsCopy(nOriginal, strSwitches);

    SUninstallOptions options;
    if (!ParseUninstallArguments(pszArguments, options))
    {
        if (!options.bSilent)
            UninstallBox("uninstall.exe [/SILENT | /VERYSILENT] [/LOG=\"file\"]", MB_OK | MB_ICONEXCLAMATION);
        return kExitNotStarted;
    }
    // The copy runs in the temporary folder: a relative log path is taken here, where it was given.
    if (!options.strLog.empty())
    {
        options.strLog = FullPath(options.strLog);
        if (options.strLog.empty() || !OpenRunLog(options.strLog))
        {
            if (!options.bSilent)
                UninstallBox("The log file cannot be written.", MB_OK | MB_ICONEXCLAMATION);
            return kExitNotStarted;
        }
        LogEvent("uninstall.exe %s", ZANTO_VERSION_TEXT);
        LogEvent("Command line: %s", GetCommandLineA());
        CloseRunLog();
    }

    std::vector<std::string> leftFolders;
    if (!options.bSilent)
    {
        // Where no copy can be made, the removal runs here; Windows then keeps this program's own
        // file, and the removal stops there with its message.
        if (!StartRemovalCopy(UninstallArguments(options)))
        {
            OpenRunLog(options.strLog, true);
            Uninstall(false, std::string(), leftFolders);
        }
        return kExitSuccess;
    }
    CUniqueKernelObject hCopy;
    if (!StartRemovalCopy(UninstallArguments(options), &hCopy))
    {
        if (!options.strLog.empty())
            OpenRunLog(options.strLog, true);
        const int nExitCode = Uninstall(true, std::string(), leftFolders);
        LogResult(ResultText(nExitCode), nExitCode);
        return nExitCode;
    }
    // A script that waits for this program learns the result of the copy's work.
    WaitForSingleObject(hCopy.get(), INFINITE);
    DWORD dwExitCode = kExitFailed;
    GetExitCodeProcess(hCopy.get(), &dwExitCode);
    return static_cast<int>(dwExitCode);
}
