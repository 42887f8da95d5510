#include <windows.h>

#include "RegistryKey.h"
#include "RemovalRules.h"
#include "Trace.h"
#include "UninstallRecord.h"

namespace
{
// An empty text when the value is missing, of another type, empty or longer than nCapacity - 1.
std::string ReadRecordValue(const char* pszName, char* pszBuffer, DWORD nCapacity)
{
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kUninstallKeyPath, KEY_READ) != ERROR_SUCCESS)
        return std::string();
    DWORD nSize = nCapacity;
    key.QueryString(pszBuffer, pszName, nSize);
    key.Close();
    return nSize != 0 ? std::string(pszBuffer) : std::string();
}
}

std::string RecordedInstallFolder(const std::vector<std::string>& protectedFolders)
{
    char szFolder[2000];
    const std::string strFolder = ReadRecordValue("InstallLocation", szFolder, sizeof(szFolder));
    return IsProtectedFolder(strFolder, protectedFolders) ? std::string() : strFolder;
}

std::string RecordedStartMenu()
{
    char szFolder[1024];
    const std::string strFolder = ReadRecordValue("Startmenu", szFolder, 1023);
    if (strFolder.empty())
    {
        Trace("Konnte Menu nicht lesen\n");
        return std::string();
    }
    Trace("Startmenu = %s\n", szFolder);
    return strFolder;
}
