#include "SetupDirectory.h"

#include <windows.h>

std::string HelpFilePath(const std::string& strModulePath)
{
    std::string strPath = strModulePath;
    const size_t nDot = strPath.rfind('.');
    const size_t nSlash = strPath.find_last_of('\\');
    if (nDot != std::string::npos && (nSlash == std::string::npos || nDot > nSlash))
        strPath.erase(nDot);
    return strPath + ".HLP";
}

std::string SetupDirFromPath(const std::string& strPath)
{
    const size_t nSlash = strPath.find_last_of('\\');
    if (nSlash == std::string::npos)
        return ".\\";
    return strPath.substr(0, nSlash + 1);
}

void EnterSetupDirectory(const char* pszSetupDir)
{
    if (SetCurrentDirectoryA(pszSetupDir))
        return;
    char szSystem[MAX_PATH];
    const UINT nLength = GetSystemDirectoryA(szSystem, sizeof(szSystem));
    if (nLength > 0 && nLength < sizeof(szSystem))
        SetCurrentDirectoryA(szSystem);
}
