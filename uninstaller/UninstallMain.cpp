// Entry point of uninstall.exe. Windows starts it from the install folder: it then hands over to
// a copy of itself in a folder of its own below the temporary folder, so that the removal can
// take its file too. In an interactive run it ends at once, and the copy waits for it before it
// removes; in a silent run (/SILENT, /VERYSILENT) it waits for the copy and ends with the copy's
// exit code, and the copy leaves its file and folders to a command that deletes them once it has
// ended. The copy has its own file deleted either way.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CopyArguments.h"
#include "ExitCodes.h"
#include "RemovalCopy.h"
#include "RunLog.h"
#include "SelfDeletion.h"
#include "SystemFolder.h"
#include "SystemLibrary.h"
#include "Uninstall.h"
#include "UninstallBox.h"
#include "UninstallSwitches.h"
#include "ZantoVersion.h"

namespace
{
void LogUninstallResult(int nExitCode)
{
    LogResult(nExitCode == kExitSuccess  ? "removed"
              : nExitCode == kExitFailed ? "a file could not be removed; the record and the list stay"
                                         : "nothing was removed",
              nExitCode);
}
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR pszArguments, int)
{
    RestrictLibrarySearch();
    std::uintptr_t nOriginal = 0;
    std::string strSwitches;
    const bool bCopy = ParseCopyArguments(pszArguments, nOriginal, &strSwitches);
    SUninstallOptions options;
    const bool bParsed = ParseUninstallArguments(bCopy ? strSwitches.c_str() : pszArguments, options);
    // A relative log path is taken in the folder the program was started in, before it leaves it;
    // one that cannot be made full is tried as it is.
    char szLog[MAX_PATH];
    const DWORD nLog = options.strLog.empty() ? 0 : GetFullPathNameA(options.strLog.c_str(), sizeof(szLog), szLog, nullptr);
    if (nLog > 0 && nLog < sizeof(szLog))
        options.strLog = szLog;
    EnterSystemFolder();
    if (!bParsed)
    {
        if (!options.bSilent)
            UninstallBox("uninstall.exe [/SILENT | /VERYSILENT] [/LOG=\"file\"]", MB_OK | MB_ICONEXCLAMATION);
        return kExitNotStarted;
    }
    // The original begins the log; its copy writes on at its end.
    if (!options.strLog.empty())
    {
        if (!OpenRunLog(options.strLog, bCopy))
        {
            if (!options.bSilent)
                UninstallBox("The log file cannot be written.", MB_OK | MB_ICONEXCLAMATION);
            return kExitNotStarted;
        }
        if (!bCopy)
        {
            LogEvent("uninstall.exe %s", ZANTO_VERSION_TEXT);
            LogEvent("Command line: %s", GetCommandLineA());
            CloseRunLog();
        }
    }

    std::vector<std::string> leftFolders;
    int nExitCode;
    if (bCopy)
    {
        // The original of a silent run waits for this copy and is left for after its end.
        std::string strOriginal;
        if (options.bSilent)
            strOriginal = OriginalProgramFile(nOriginal);
        else
            WaitForOriginal(nOriginal);
        nExitCode = Uninstall(options.bSilent, strOriginal, leftFolders);
        LogUninstallResult(nExitCode);
        CloseRunLog();
        // The original's file goes only with the installation it belonged to.
        DeleteSelfAfterExit(nExitCode == kExitSuccess ? strOriginal : std::string(), leftFolders);
        return nExitCode;
    }
    CUniqueKernelObject hCopy;
    if (!StartRemovalCopy(UninstallArguments(options), &hCopy))
    {
        // Where no copy can be made, the removal runs here; Windows then keeps this program's own
        // file, and the removal stops there with its message.
        if (!options.strLog.empty())
            OpenRunLog(options.strLog, true);
        nExitCode = Uninstall(options.bSilent, std::string(), leftFolders);
        LogUninstallResult(nExitCode);
        return options.bSilent ? nExitCode : kExitSuccess;
    }
    if (!options.bSilent)
        return kExitSuccess;
    // A script that waits for this program learns the result of the copy's work.
    WaitForSingleObject(hCopy.get(), INFINITE);
    DWORD dwExitCode = kExitFailed;
    GetExitCodeProcess(hCopy.get(), &dwExitCode);
    return static_cast<int>(dwExitCode);
}
