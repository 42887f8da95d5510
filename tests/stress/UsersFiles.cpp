#include "UsersFiles.h"

#include <windows.h>

#include "InstallRun.h"
#include "SetupSession.h"

std::vector<std::string> MakeUsersFiles(CCaseRun& run)
{
    const std::string& strDir = run.InstallDir();
    CreateDirectoryA(strDir.c_str(), nullptr);
    std::vector<std::string> names = FilesBelow(run.Medium() + (run.English() ? "\\en" : "\\ger"));
    for (const std::string& strName : FilesBelow(HostPath("ZANTO_PAYLOAD")))
        names.push_back(strName);
    static const DWORD s_adwAttributes[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_ARCHIVE};
    SYSTEMTIME st = {2001, 2, 6, 3, 4, 5, 6, 0};
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    for (std::size_t nName = 0; nName < names.size(); ++nName)
    {
        const std::string strPath = strDir + "\\" + names[nName];
        for (std::size_t nPos = strPath.find('\\', strDir.size() + 1); nPos != std::string::npos;
             nPos = strPath.find('\\', nPos + 1))
            CreateDirectoryA(strPath.substr(0, nPos).c_str(), nullptr);
        WriteTextFile(strPath, "the user's own " + names[nName] + "\r\n");
        HANDLE hFile = CreateFileA(strPath.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(hFile, nullptr, nullptr, &ft);
        CloseHandle(hFile);
        SetFileAttributesA(strPath.c_str(), s_adwAttributes[nName % 3]);
    }
    WriteTextFile(strDir + "\\savegame.sav", "level 9\r\n");
    return names;
}
