#include "ProgramsFolder.h"

#include "RegistryKey.h"
#include "Trace.h"

std::string CommonProgramsFolder()
{
    CRegistryKey key;
    char szCommonPrograms[1024];
    DWORD nSize = 1023;
    key.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
             KEY_READ);
    key.QueryString(szCommonPrograms, "Common Programs", nSize);
    key.Close();
    if (nSize == 0)
        return "C:\\Dokumente und Einstellungen\\All Users\\Startmenü";
    Trace("Startmenü = %s\n", szCommonPrograms);
    return szCommonPrograms;
}
