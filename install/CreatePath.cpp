#include "CreatePath.h"

#include <cstring>

#include "InstallLog.h"
#include "RunLog.h"

namespace
{
// Multibyte-aware: a trail byte that equals a backslash is not a separator.
char* FindBackslash(char* psz)
{
    while (*psz != '\0' && *psz != '\\')
        psz = CharNextA(psz);
    return *psz == '\\' ? psz : nullptr;
}
}

UINT CreatePath(const char* pszPathName, CInstallLog* pLog)
{
    if (pszPathName == nullptr)
        return ERROR_INVALID_PARAMETER;
    char szPath[MAX_PATH];
    if (std::strlen(pszPathName) >= sizeof(szPath))
        return ERROR_FILENAME_EXCED_RANGE;
    std::strcpy(szPath, pszPathName);

    char* pszSeparator = FindBackslash(szPath);
    if (pszSeparator == nullptr)
        return 0;
    while ((pszSeparator = FindBackslash(pszSeparator + 1)) != nullptr)
    {
        *pszSeparator = '\0';
        if (GetFileAttributesA(szPath) == INVALID_FILE_ATTRIBUTES)
        {
            // Listed before it is made: a run that ends right after still knows it.
            if (pLog != nullptr && !pLog->AddFolder(szPath))
                return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_WRITE_FAULT;
            if (!CreateDirectoryA(szPath, nullptr))
                return GetLastError();
            LogEvent("Folder made: %s", szPath);
        }
        *pszSeparator = '\\';
    }
    return 0;
}
