#include "ProtectedFolders.h"

#include <windows.h>
#include <shlobj.h>

#include "SystemLibrary.h"

std::vector<std::string> ProtectedFolders()
{
    static const int s_anFolders[] = {
        CSIDL_WINDOWS,          CSIDL_SYSTEM,          CSIDL_SYSTEMX86,        CSIDL_PROGRAM_FILES,
        CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_COMMON_PROGRAMS,
        CSIDL_PROGRAMS,         CSIDL_COMMON_STARTMENU, CSIDL_STARTMENU,       CSIDL_COMMON_STARTUP,
        CSIDL_STARTUP,          CSIDL_PROFILE,         CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY,
        CSIDL_PERSONAL,         CSIDL_COMMON_DOCUMENTS, CSIDL_APPDATA,         CSIDL_LOCAL_APPDATA,
        CSIDL_COMMON_APPDATA,   CSIDL_MYMUSIC,         CSIDL_MYPICTURES,       CSIDL_MYVIDEO,
        CSIDL_FAVORITES,        CSIDL_TEMPLATES,       CSIDL_FONTS,            CSIDL_SENDTO,
        CSIDL_ADMINTOOLS,       CSIDL_COMMON_ADMINTOOLS,
    };
    using FolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    const auto pFolderPath = SystemFunction<FolderPathFunction>("shell32.dll", "SHGetFolderPathA");
    std::vector<std::string> folders;
    char szPath[MAX_PATH];
    for (const int nFolder : s_anFolders)
        if (pFolderPath != nullptr && pFolderPath(nullptr, nFolder, nullptr, SHGFP_TYPE_CURRENT, szPath) == S_OK)
            folders.emplace_back(szPath);
    const DWORD nTemp = GetTempPathA(sizeof(szPath), szPath);
    if (nTemp > 0 && nTemp < sizeof(szPath))
        folders.emplace_back(szPath);
    return folders;
}
