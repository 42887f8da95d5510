#include "Folders.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace
{
void ListEntries(const std::string& strFolder, const std::string& strPrefix, std::vector<std::string>& files,
                 std::vector<std::string>& folders)
{
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((strFolder + "\\*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do
    {
        const std::string strName = data.cFileName;
        if (strName == "." || strName == "..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            folders.push_back(strPrefix + strName);
            ListEntries(strFolder + "\\" + strName, strPrefix + strName + "\\", files, folders);
        }
        else
            files.push_back(strPrefix + strName);
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
}
}

std::vector<std::string> FilesBelow(const std::string& strFolder)
{
    std::vector<std::string> files, folders;
    ListEntries(strFolder, "", files, folders);
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> FoldersBelow(const std::string& strFolder)
{
    std::vector<std::string> files, folders;
    ListEntries(strFolder, "", files, folders);
    std::sort(folders.begin(), folders.end());
    return folders;
}

void RemoveFolder(const std::string& strPath)
{
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((strPath + "\\*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::string strName = data.cFileName;
            if (strName == "." || strName == "..")
                continue;
            const std::string strChild = strPath + "\\" + strName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(strChild);
            else
            {
                SetFileAttributesA(strChild.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(strChild.c_str());
            }
        } while (FindNextFileA(hFind, &data));
        FindClose(hFind);
    }
    RemoveDirectoryA(strPath.c_str());
}

std::string UniqueTempPath(const char* pszPrefix)
{
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    char szPath[MAX_PATH];
    GetTempFileNameA(szTemp, pszPrefix, 0, szPath);
    DeleteFileA(szPath);
    return szPath;
}

CScopedFolder::CScopedFolder(const std::string& strPath) : m_strPath(strPath)
{
    CreateDirectoryA(strPath.c_str(), nullptr);
}

std::string UnixToWindowsPath(const std::string& strUnixPath)
{
    std::string strPath = "Z:" + strUnixPath;
    for (char& ch : strPath)
        if (ch == '/')
            ch = '\\';
    return strPath;
}

std::string ProgramsFolder()
{
    char szFolder[MAX_PATH] = {};
    DWORD nSize = sizeof(szFolder);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     "Common Programs", RRF_RT_REG_SZ, nullptr, szFolder, &nSize) != ERROR_SUCCESS)
        throw std::runtime_error("no common programs folder in the registry");
    return szFolder;
}
