#include "Removal.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "InstallLog.h"
#include "RemovalRules.h"
#include "Shortcuts.h"
#include "TextFormat.h"
#include "Trace.h"
#include "UniqueHandle.h"

namespace
{
bool Exists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsLink(const std::string& strPath)
{
    const DWORD dwAttributes = GetFileAttributesA(strPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Whether a folder link stands between strRoot and strPath, strRoot included: what lies behind
// a link belongs to somebody else.
bool LiesBehindLink(const std::string& strPath, const std::string& strRoot)
{
    if (IsLink(strRoot))
        return true;
    for (size_t nPos = strPath.find('\\', strRoot.size() + 1); nPos != std::string::npos;
         nPos = strPath.find('\\', nPos + 1))
        if (IsLink(strPath.substr(0, nPos)))
            return true;
    return false;
}

// False when the file stays; error then names it and its cause.
bool DeleteFileReporting(const std::string& strPath, CFileError& error)
{
    Trace("Remove File %s\n", strPath.c_str());
    if (DeleteFileA(strPath.c_str()))
        return true;
    error = CFileError(GetLastError(), strPath);
    return false;
}

bool ContainsFolder(const std::vector<std::string>& folders, const std::string& strFolder)
{
    const std::string strKey = FolderKey(strFolder);
    return std::any_of(folders.begin(), folders.end(),
                       [&](const std::string& strLogged) { return FolderKey(strLogged) == strKey; });
}

// As RemoveTree, with the file whose FolderKey is strSkipped left for the caller.
bool RemoveTreeSkipping(const std::string& strFolder, bool bFolderPass, CFileError& error,
                        const std::string& strSkipped)
{
    // A folder link goes as a link; what it points to is never entered.
    if (IsLink(strFolder))
    {
        if (bFolderPass)
            RemoveDirectoryA(strFolder.c_str());
        return true;
    }
    {
        WIN32_FIND_DATAA data;
        CUniqueFind hFind(FindFirstFileA((strFolder + "\\*.*").c_str(), &data));
        if (hFind)
        {
            do
            {
                if (std::strcmp(data.cFileName, ".") == 0 || std::strcmp(data.cFileName, "..") == 0)
                    continue;
                const std::string strPath = strFolder + "\\" + data.cFileName;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                {
                    if (!RemoveTreeSkipping(strPath, bFolderPass, error, strSkipped))
                        return false;
                }
                else if (!bFolderPass && (strSkipped.empty() || FolderKey(strPath) != strSkipped) &&
                         !DeleteFileReporting(strPath, error))
                {
                    return false;
                }
            } while (FindNextFileA(hFind.get(), &data));
        }
    }
    if (bFolderPass)
        RemoveDirectoryA(strFolder.c_str());
    return true;
}

class CRemoval
{
public:
    CRemoval(const SRemovalScope& scope, CFileError& error) : m_scope(scope), m_error(error)
    {
        for (const std::string& strRoot : {scope.strInstallDir, scope.strMenuFolder})
            if (!strRoot.empty())
                m_roots.push_back(strRoot);
        m_strList = scope.strInstallDir + "\\" + kInstallLogName;
    }

    bool Run()
    {
        if (m_scope.pLog == nullptr || !m_scope.pLog->IsKnown())
            return RemoveShortcuts();
        const CInstallLog& log = *m_scope.pLog;
        if (!RemoveListedFiles(log) || !PutKeptFilesBack(log) || !RemoveMadeFolders(log))
            return false;
        // The install folder's list goes last, with the install folder when the run made it.
        const bool bInstallMade = !m_scope.strInstallDir.empty() &&
                                  ContainsFolder(log.Folders(), m_scope.strInstallDir) &&
                                  !IsProtectedFolder(m_scope.strInstallDir, m_scope.protectedFolders);
        if (bInstallMade)
        {
            if (!RemoveFolder(m_scope.strInstallDir, m_strList))
                return false;
        }
        else if (!m_scope.strInstallDir.empty() && log.Owns(m_strList) && Exists(m_strList) &&
                 !IsLink(m_scope.strInstallDir) && !DeleteFileReporting(m_strList, m_error))
        {
            return false;
        }
        RemoveFoldersAbove(log);
        return true;
    }

private:
    // The root that strPath lies in, and not behind a link; null when it lies in none.
    const std::string* RootOf(const std::string& strPath) const
    {
        for (const std::string& strRoot : m_roots)
            if (IsInsideFolder(strPath, strRoot))
                return LiesBehindLink(strPath, strRoot) ? nullptr : &strRoot;
        return nullptr;
    }

    bool IsList(const std::string& strPath) const
    {
        return !m_scope.strInstallDir.empty() && FolderKey(strPath) == FolderKey(m_strList);
    }

    bool RemoveListedFiles(const CInstallLog& log)
    {
        const std::vector<std::string>& files = log.Files();
        for (auto it = files.rbegin(); it != files.rend(); ++it)
            if (!IsList(*it) && RootOf(*it) != nullptr && Exists(*it) && !DeleteFileReporting(*it, m_error))
                return false;
        return true;
    }

    // The user's own files come back under their names, with their bytes, times and attributes.
    bool PutKeptFilesBack(const CInstallLog& log)
    {
        const std::vector<SKeptFile>& kept = log.KeptFiles();
        for (auto it = kept.rbegin(); it != kept.rend(); ++it)
        {
            if (RootOf(it->strPath) == nullptr || RootOf(it->strKept) == nullptr || !Exists(it->strKept))
                continue;
            if (Exists(it->strPath) && !DeleteFileReporting(it->strPath, m_error))
                return false;
            Trace("Restore %s\n", it->strPath.c_str());
            if (!MoveFileA(it->strKept.c_str(), it->strPath.c_str()))
            {
                m_error = CFileError(GetLastError(), it->strKept);
                return false;
            }
        }
        return true;
    }

    // A folder that the installation made goes as a whole, with what was added to it since: the
    // files that the run wrote into it need no entries of their own. The start menu folder is
    // one of them; the install folder goes last, with the list.
    bool RemoveMadeFolders(const CInstallLog& log)
    {
        const std::vector<std::string>& folders = log.Folders();
        for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        {
            const bool bInside = FolderKey(*it) == FolderKey(m_scope.strMenuFolder)
                                     ? !IsLink(*it)
                                     : FolderKey(*it) != FolderKey(m_scope.strInstallDir) && RootOf(*it) != nullptr;
            if (bInside && !IsProtectedFolder(*it, m_scope.protectedFolders) && Exists(*it) &&
                !RemoveFolder(*it, std::string()))
                return false;
        }
        return true;
    }

    // The folders that the run made on the way to the install and start menu folders go when
    // they are empty: what somebody else put there since keeps them.
    void RemoveFoldersAbove(const CInstallLog& log)
    {
        const std::vector<std::string>& folders = log.Folders();
        for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        {
            if (IsProtectedFolder(*it, m_scope.protectedFolders) || IsLink(*it))
                continue;
            if (std::any_of(m_roots.begin(), m_roots.end(),
                            [&](const std::string& strRoot) { return IsInsideFolder(strRoot, *it); }))
                RemoveDirectoryA(it->c_str());
        }
    }

    // Without the list nothing in any install folder is known to be ours: only the shortcuts go,
    // by their names, and the start menu folder when nothing else is left in it.
    bool RemoveShortcuts()
    {
        const std::string& strFolder = m_scope.strMenuFolder;
        if (strFolder.empty() || IsLink(strFolder))
            return true;
        for (const SShortcut& shortcut : g_aShortcuts)
            for (const char* pszLink : {shortcut.pszLinkEnglish, shortcut.pszLinkGerman})
            {
                const std::string strLink = FormatText(pszLink, strFolder.c_str(), "");
                if (Exists(strLink) && !IsLink(strLink) && !DeleteFileReporting(strLink, m_error))
                    return false;
            }
        if (!IsProtectedFolder(strFolder, m_scope.protectedFolders))
            RemoveDirectoryA(strFolder.c_str());
        return true;
    }

    // Files first, so that a file that stays stops the removal before any folder went; the file
    // named strLast goes after all others.
    bool RemoveFolder(const std::string& strFolder, const std::string& strLast)
    {
        if (!RemoveTreeSkipping(strFolder, false, m_error, FolderKey(strLast)))
            return false;
        if (!strLast.empty() && Exists(strLast) && !DeleteFileReporting(strLast, m_error))
            return false;
        return RemoveTreeSkipping(strFolder, true, m_error, std::string());
    }

    const SRemovalScope& m_scope;
    CFileError& m_error;
    std::vector<std::string> m_roots;
    std::string m_strList;
};
}

bool RemoveInstallation(const SRemovalScope& scope, CFileError& error)
{
    return CRemoval(scope, error).Run();
}

bool RemoveTree(const std::string& strFolder, bool bFolderPass, CFileError& error)
{
    return RemoveTreeSkipping(strFolder, bFolderPass, error, std::string());
}
