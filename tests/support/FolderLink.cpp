#include "FolderLink.h"

#include <windows.h>

namespace
{
std::string UnixPath(const std::string& strPath)
{
    using FnUnixFileName = char*(CDECL*)(LPCWSTR);
    const auto fnUnixFileName = reinterpret_cast<FnUnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR wszPath[MAX_PATH];
    if (fnUnixFileName == nullptr || MultiByteToWideChar(CP_ACP, 0, strPath.c_str(), -1, wszPath, MAX_PATH) == 0)
        return std::string();
    char* pszUnix = fnUnixFileName(wszPath);
    if (pszUnix == nullptr)
        return std::string();
    std::string strUnix = pszUnix;
    HeapFree(GetProcessHeap(), 0, pszUnix);
    return strUnix;
}

// Wine starts host programs too; their handle does not wait for them, so the caller polls.
bool RunHost(const std::string& strCommandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string strLine = strCommandLine;
    if (!CreateProcessA(nullptr, &strLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool WaitFor(bool (*fnDone)(const std::string&), const std::string& strPath)
{
    for (int nTry = 0; nTry < 250; ++nTry)
    {
        if (fnDone(strPath))
            return true;
        Sleep(20);
    }
    return false;
}
}

bool MakeFolderLink(const std::string& strLink, const std::string& strTarget)
{
    const std::string strUnixTarget = UnixPath(strTarget);
    const std::string strUnixLink = UnixPath(strLink);
    if (strUnixTarget.empty() || strUnixLink.empty() ||
        !RunHost("/bin/ln -s \"" + strUnixTarget + "\" \"" + strUnixLink + "\""))
        return false;
    return WaitFor([](const std::string& strPath) {
        const DWORD dwAttributes = GetFileAttributesA(strPath.c_str());
        return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    }, strLink);
}

void RemoveFolderLink(const std::string& strLink)
{
    const std::string strUnixLink = UnixPath(strLink);
    if (!strUnixLink.empty() && RunHost("/bin/rm -f \"" + strUnixLink + "\""))
        WaitFor([](const std::string& strPath) { return GetFileAttributesA(strPath.c_str()) == INVALID_FILE_ATTRIBUTES; },
                strLink);
}
