#include "RemovalCopy.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "CopyArguments.h"
#include "ProtectedFolder.h"
#include "SystemFolder.h"
#include "UniqueHandle.h"

namespace
{
constexpr DWORD kOriginalWaitMs = 60000;
constexpr const char* kCopyName = "ZantoUninstall.exe";

std::string TempFolder()
{
    char szTemp[MAX_PATH];
    const DWORD nLength = GetTempPathA(sizeof(szTemp), szTemp);
    return nLength > 0 && nLength < sizeof(szTemp) ? std::string(szTemp, nLength) : std::string();
}

// The copy in a new folder of its own, which only the administrators may write: the copy's
// libraries are looked for beside it first.
std::string CopyToProtectedFolder(const std::string& strSelf, const std::string& strTemp)
{
    const std::string strFolder = MakeProtectedFolder(strTemp);
    if (strFolder.empty())
        return std::string();
    const std::string strCopy = strFolder + kCopyName;
    if (!CopyFileA(strSelf.c_str(), strCopy.c_str(), TRUE))
    {
        RemoveDirectoryA(strFolder.c_str());
        return std::string();
    }
    // The copy takes the program's attributes: one made read-only would stay behind.
    SetFileAttributesA(strCopy.c_str(), FILE_ATTRIBUTE_NORMAL);
    return strCopy;
}

void RemoveCopy(const std::string& strCopy)
{
    DeleteFileA(strCopy.c_str());
    RemoveDirectoryA(strCopy.substr(0, strCopy.find_last_of('\\')).c_str());
}
}

bool StartRemovalCopy(const std::string& strSwitches, CUniqueKernelObject* phCopy)
{
    char szSelf[MAX_PATH];
    const DWORD nSelf = GetModuleFileNameA(nullptr, szSelf, sizeof(szSelf));
    const std::string strTemp = TempFolder();
    const std::string strSystem = SystemFolder();
    if (nSelf == 0 || nSelf >= sizeof(szSelf) || strTemp.empty() || strSystem.empty())
        return false;
    const std::string strCopy = CopyToProtectedFolder(szSelf, strTemp);
    if (strCopy.empty())
        return false;

    // The copy waits on this handle, or learns from it which file to leave; nothing more is handed on.
    HANDLE hOriginal = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &hOriginal,
                         SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0))
    {
        RemoveCopy(strCopy);
        return false;
    }
    CUniqueKernelObject hHeld(hOriginal);
    std::string strCommandLine =
        "\"" + strCopy + "\" " + CopyArguments(reinterpret_cast<std::uintptr_t>(hOriginal));
    if (!strSwitches.empty())
        strCommandLine += " " + strSwitches;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // The copy works in the system folder: a process whose current folder is the install folder
    // would keep that folder from going, and one in the temporary folder would find others' files.
    if (!CreateProcessA(strCopy.c_str(), &strCommandLine[0], nullptr, nullptr, TRUE, 0, nullptr, strSystem.c_str(),
                        &startup, &process))
    {
        RemoveCopy(strCopy);
        return false;
    }
    CloseHandle(process.hThread);
    if (phCopy != nullptr)
        phCopy->reset(process.hProcess);
    else
        CloseHandle(process.hProcess);
    return true;
}

void WaitForOriginal(std::uintptr_t nOriginalProcess)
{
    CUniqueKernelObject hOriginal(reinterpret_cast<HANDLE>(nOriginalProcess));
    WaitForSingleObject(hOriginal.get(), kOriginalWaitMs);
}

std::string OriginalProgramFile(std::uintptr_t nOriginalProcess)
{
    CUniqueKernelObject hOriginal(reinterpret_cast<HANDLE>(nOriginalProcess));
    char szFile[MAX_PATH];
    DWORD nLength = sizeof(szFile);
    if (!QueryFullProcessImageNameA(hOriginal.get(), 0, szFile, &nLength))
        return std::string();
    return std::string(szFile, nLength);
}
