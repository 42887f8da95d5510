#include "UninstallSwitches.h"

#include <windows.h>

#include <vector>

#include "CommandLine.h"

namespace
{
bool IsSwitch(const std::string& strArgument, const char* pszName)
{
    return lstrcmpiA(strArgument.c_str(), pszName) == 0;
}
}

bool ParseUninstallArguments(const std::string& strArguments, SUninstallOptions& options)
{
    options = SUninstallOptions();
    std::vector<std::string> arguments;
    bool bAllRead = SplitArguments(strArguments, arguments);
    for (const std::string& strArgument : arguments)
    {
        if (IsSwitch(strArgument, "/SILENT") || IsSwitch(strArgument, "/VERYSILENT"))
            options.bSilent = true;
        else if (strArgument.size() > 5 && IsSwitch(strArgument.substr(0, 5), "/LOG="))
            options.strLog = strArgument.substr(5);
        else
            bAllRead = false;
    }
    return bAllRead;
}

std::string UninstallArguments(const SUninstallOptions& options)
{
    std::string strArguments = options.bSilent ? "/SILENT" : "";
    if (!options.strLog.empty())
        strArguments += (strArguments.empty() ? "/LOG=\"" : " /LOG=\"") + options.strLog + "\"";
    return strArguments;
}
