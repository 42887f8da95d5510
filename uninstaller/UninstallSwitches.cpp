#include "UninstallSwitches.h"

#include <windows.h>

bool ParseUninstallArguments(const char* pszArguments, SUninstallOptions& options)
{
    options = SUninstallOptions();
    bool bAllRead = true;
    const char* psz = pszArguments;
    for (;;)
    {
        while (*psz == ' ' || *psz == '\t')
            ++psz;
        if (*psz == '\0')
            return bAllRead;
        // One argument with its quotes dropped; a longer one than a path is no switch of ours.
        char szArgument[MAX_PATH + 8];
        size_t nLength = 0;
        bool bQuoted = false;
        for (; *psz != '\0' && (bQuoted || (*psz != ' ' && *psz != '\t')); ++psz)
        {
            if (*psz == '"')
                bQuoted = !bQuoted;
            else if (nLength < sizeof(szArgument) - 1)
                szArgument[nLength++] = *psz;
            else
                bAllRead = false;
        }
        szArgument[nLength] = '\0';
        if (lstrcmpiA(szArgument, "/SILENT") == 0 || lstrcmpiA(szArgument, "/VERYSILENT") == 0)
        {
            options.bSilent = true;
        }
        else if (nLength > 5 && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, szArgument, 5, "/LOG=", 5) == CSTR_EQUAL)
        {
            options.strLog = szArgument + 5;
        }
        else
        {
            bAllRead = false;
        }
        bAllRead = bAllRead && !bQuoted;
    }
}

std::string UninstallArguments(const SUninstallOptions& options)
{
    std::string strArguments = options.bSilent ? "/SILENT" : "";
    if (!options.strLog.empty())
        strArguments += " /LOG=\"" + options.strLog + "\"";
    return strArguments;
}
