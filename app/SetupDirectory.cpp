#include "SetupDirectory.h"

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
