#include "UnlinkedEntry.h"

#include "RemovalRules.h"

namespace
{
bool IsLinkByPath(const std::string& strPath)
{
    const DWORD dwAttributes = GetFileAttributesA(strPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}
}

CUniqueFile OpenUnlinkedEntry(const std::string& strPath, EEntryKind eKind, bool bForDeletion, DWORD& dwError)
{
    dwError = 0;
    const bool bFolder = eKind == EEntryKind::Folder;
    const DWORD dwAccess = (bForDeletion ? DELETE : 0) | FILE_READ_ATTRIBUTES | (bFolder ? FILE_LIST_DIRECTORY : 0);
    const DWORD dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE | (bFolder ? 0 : FILE_SHARE_DELETE);
    // Backup semantics opens a folder too, so that one standing where a file was listed is told
    // apart and left alone.
    const DWORD dwFlags = FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS;
    CUniqueFile hEntry(CreateFileA(strPath.c_str(), dwAccess, dwShare, nullptr, OPEN_EXISTING, dwFlags, nullptr));
    if (!hEntry)
    {
        dwError = GetLastError();
        return hEntry;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(hEntry.get(), &info))
    {
        dwError = GetLastError();
        return CUniqueFile();
    }
    const bool bIsFolder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // Wine 8 opens what a Unix link points to even when asked for the link itself; the link still
    // shows in the path's attributes, looked at once the handle holds the entry.
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || bIsFolder != bFolder ||
        IsLinkByPath(strPath))
        return CUniqueFile();
    return hEntry;
}

bool MarkForDeletion(HANDLE hEntry)
{
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(hEntry, FileDispositionInfo, &disposition, sizeof(disposition)) != FALSE;
}

bool CHeldFolders::HoldTo(const std::string& strRoot, const std::string& strFolder)
{
    std::vector<std::string> wanted = {strRoot};
    if (FolderKey(strFolder) != FolderKey(strRoot))
    {
        if (!IsInsideFolder(strFolder, strRoot))
            return false;
        for (size_t nPos = strFolder.find('\\', strRoot.size() + 1); nPos != std::string::npos;
             nPos = strFolder.find('\\', nPos + 1))
            wanted.push_back(strFolder.substr(0, nPos));
        wanted.push_back(strFolder);
    }
    size_t nKept = 0;
    while (nKept < m_paths.size() && nKept < wanted.size() && FolderKey(m_paths[nKept]) == FolderKey(wanted[nKept]))
        ++nKept;
    m_paths.resize(nKept);
    m_handles.resize(nKept);
    for (size_t nFolder = nKept; nFolder < wanted.size(); ++nFolder)
    {
        DWORD dwError = 0;
        CUniqueFile hFolder = OpenUnlinkedEntry(wanted[nFolder], EEntryKind::Folder, false, dwError);
        if (!hFolder)
            return false;
        m_paths.push_back(wanted[nFolder]);
        m_handles.push_back(std::move(hFolder));
    }
    return true;
}

void CHeldFolders::Release()
{
    m_paths.clear();
    m_handles.clear();
}
