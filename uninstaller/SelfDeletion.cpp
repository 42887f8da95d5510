#include "SelfDeletion.h"

#include <windows.h>

#include <string>

#include "SelfDeletionCommand.h"
#include "SystemFolder.h"

void DeleteSelfAfterExit(const std::string& strOriginal, const std::vector<std::string>& folders)
{
    char szSelf[MAX_PATH];
    const DWORD nSelf = GetModuleFileNameA(nullptr, szSelf, sizeof(szSelf));
    if (nSelf == 0 || nSelf >= sizeof(szSelf))
        return;
    const std::string strSelf = szSelf;
    const std::string strFolder = strSelf.substr(0, strSelf.find_last_of('\\'));
    // The file first, then its folder, which can only go once it is empty.
    MoveFileExA(strSelf.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    MoveFileExA(strFolder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);

    const std::string strSystem = SystemFolder();
    if (strSystem.empty())
        return;
    const std::string strCmd = strSystem + "\\cmd.exe";
    std::string strCommandLine = "\"" + strCmd + "\" /c " + SelfDeletionCommand(strSelf, strSystem, strOriginal, folders);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // cmd works in the system folder, where nobody but the administrators leaves a program.
    if (!CreateProcessA(strCmd.c_str(), &strCommandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        strSystem.c_str(), &startup, &process))
        return;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
