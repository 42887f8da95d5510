#include "SelfDeletion.h"

#include <windows.h>

#include <string>

#include "SelfDeletionScript.h"
#include "UniqueHandle.h"

namespace
{
bool WriteWholeFile(const std::string& strPath, const std::string& strText)
{
    CUniqueFile hFile(CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD nWritten = 0;
    return hFile && WriteFile(hFile.get(), strText.data(), static_cast<DWORD>(strText.size()), &nWritten, nullptr) &&
           nWritten == strText.size();
}
}

void DeleteSelfAfterExit(const std::string& strOriginal, const std::vector<std::string>& folders)
{
    char szSelf[MAX_PATH];
    const DWORD nSelf = GetModuleFileNameA(nullptr, szSelf, sizeof(szSelf));
    if (nSelf == 0 || nSelf >= sizeof(szSelf))
        return;
    const std::string strSelf = szSelf;
    MoveFileExA(szSelf, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);

    const size_t nDot = strSelf.find_last_of('.');
    const std::string strScript = strSelf.substr(0, nDot) + ".cmd";
    char szSystem[MAX_PATH];
    const UINT nSystem = GetSystemDirectoryA(szSystem, sizeof(szSystem));
    if (nSystem == 0 || nSystem >= sizeof(szSystem) || !WriteWholeFile(strScript, SelfDeletionScript(strSelf, strOriginal, folders)))
        return;
    const std::string strCmd = std::string(szSystem) + "\\cmd.exe";
    std::string strCommandLine = "\"" + strCmd + "\" /c \"\"" + strScript + "\"\"";
    const std::string strFolder = strSelf.substr(0, strSelf.find_last_of('\\') + 1);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(strCmd.c_str(), &strCommandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        strFolder.c_str(), &startup, &process))
    {
        DeleteFileA(strScript.c_str());
        return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
