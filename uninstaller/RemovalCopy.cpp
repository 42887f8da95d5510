#include "RemovalCopy.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "CopyArguments.h"
#include "TextFormat.h"
#include "UniqueHandle.h"

namespace
{
constexpr DWORD kOriginalWaitMs = 60000;

std::string TempFolder()
{
    char szTemp[MAX_PATH];
    const DWORD nLength = GetTempPathA(sizeof(szTemp), szTemp);
    return nLength > 0 && nLength < sizeof(szTemp) ? std::string(szTemp, nLength) : std::string();
}

// A new file in strFolder, made by the copy itself so that no other file is ever replaced.
std::string CopyToTemp(const std::string& strSelf, const std::string& strFolder)
{
    const DWORD dwStamp = GetCurrentProcessId() ^ GetTickCount();
    for (DWORD nTry = 0; nTry < 100; ++nTry)
    {
        const std::string strCopy = FormatText("%sZantoUninstall-%08lx.exe", strFolder.c_str(),
                                               static_cast<unsigned long>(dwStamp + nTry));
        if (CopyFileA(strSelf.c_str(), strCopy.c_str(), TRUE))
        {
            // The copy takes the program's attributes: one made read-only would stay behind.
            SetFileAttributesA(strCopy.c_str(), FILE_ATTRIBUTE_NORMAL);
            return strCopy;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return std::string();
    }
    return std::string();
}
}

bool StartRemovalCopy(const std::string& strSwitches, CUniqueKernelObject* phCopy)
{
    char szSelf[MAX_PATH];
    const DWORD nSelf = GetModuleFileNameA(nullptr, szSelf, sizeof(szSelf));
    const std::string strTemp = TempFolder();
    if (nSelf == 0 || nSelf >= sizeof(szSelf) || strTemp.empty())
        return false;
    const std::string strCopy = CopyToTemp(szSelf, strTemp);
    if (strCopy.empty())
        return false;

    // The copy waits on this handle, or learns from it which file to leave; nothing more is handed on.
    HANDLE hOriginal = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &hOriginal,
                         SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0))
    {
        DeleteFileA(strCopy.c_str());
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
    // The copy starts in the temporary folder: a process whose current folder is the install
    // folder would keep that folder from going.
    if (!CreateProcessA(strCopy.c_str(), &strCommandLine[0], nullptr, nullptr, TRUE, 0, nullptr, strTemp.c_str(),
                        &startup, &process))
    {
        DeleteFileA(strCopy.c_str());
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
