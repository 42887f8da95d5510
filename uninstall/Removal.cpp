#include "Removal.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "InstallLog.h"
#include "RemovalRules.h"
#include "RunLog.h"
#include "Shortcuts.h"
#include "TextFormat.h"
#include "UninstallRecord.h"
#include "Trace.h"
#include "UniqueHandle.h"
#include "UnlinkedEntry.h"

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

std::string ParentOf(const std::string& strPath)
{
    const size_t nSlash = strPath.find_last_of('\\');
    return nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash);
}

// False when the file stays; error then names it and its cause. A link where a file was listed,
// or a folder, is left alone.
bool DeleteFileReporting(const std::string& strPath, CFileError& error)
{
    Trace("Remove File %s\n", strPath.c_str());
    DWORD dwError = 0;
    CUniqueFile hFile = OpenUnlinkedEntry(strPath, EEntryKind::File, true, dwError);
    if (!hFile)
    {
        if (dwError == 0)
            return true;
        error = CFileError(dwError, strPath);
        return false;
    }
    if (MarkForDeletion(hFile.get()))
    {
        LogEvent("File removed: %s", strPath.c_str());
        return true;
    }
    error = CFileError(GetLastError(), strPath);
    return false;
}

// An empty folder goes; one that is not empty, a link or in use stays, without a message.
void RemoveEmptyFolder(const std::string& strFolder)
{
    DWORD dwError = 0;
    CUniqueFile hFolder = OpenUnlinkedEntry(strFolder, EEntryKind::Folder, true, dwError);
    if (hFolder)
        MarkForDeletion(hFolder.get());
}

// Whether DeleteFileA would take the file: not read-only, and nobody holds it open against
// deletion. False sets error as the deletion would.
bool CanDelete(const std::string& strPath, CFileError& error)
{
    const DWORD dwAttributes = GetFileAttributesA(strPath.c_str());
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY) != 0)
    {
        error = CFileError(ERROR_ACCESS_DENIED, strPath);
        return false;
    }
    CUniqueFile hFile(CreateFileA(strPath.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    if (!hFile)
    {
        error = CFileError(GetLastError(), strPath);
        return false;
    }
    return true;
}

bool ContainsFolder(const std::vector<std::string>& folders, const std::string& strFolder)
{
    const std::string strKey = FolderKey(strFolder);
    return std::any_of(folders.begin(), folders.end(),
                       [&](const std::string& strLogged) { return FolderKey(strLogged) == strKey; });
}

// As RemoveTree, with the files whose FolderKeys are in skipped left for the caller. Each folder
// is held open while its entries go, so that none between the first and an entry can be swapped
// for a link meanwhile; the folder pass deletes each folder through that handle.
bool RemoveTreeSkipping(const std::string& strFolder, bool bFolderPass, CFileError& error,
                        const std::vector<std::string>& skipped)
{
    // A folder link is never entered, and never taken for a folder of ours.
    DWORD dwError = 0;
    CUniqueFile hFolder = OpenUnlinkedEntry(strFolder, EEntryKind::Folder, bFolderPass, dwError);
    if (!hFolder)
        return true;
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
                    if (!RemoveTreeSkipping(strPath, bFolderPass, error, skipped))
                        return false;
                }
                else if (!bFolderPass &&
                         (skipped.empty() ||
                          std::find(skipped.begin(), skipped.end(), FolderKey(strPath)) == skipped.end()) &&
                         !DeleteFileReporting(strPath, error))
                {
                    return false;
                }
            } while (FindNextFileA(hFind.get(), &data));
        }
    }
    if (bFolderPass)
        MarkForDeletion(hFolder.get());
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
        m_strProgram = scope.strInstallDir + "\\" + kUninstallProgramName;
        if (!scope.strRunningFile.empty())
            m_leftKeys.push_back(FolderKey(scope.strRunningFile));
    }

    bool Run()
    {
        if (m_scope.pLog == nullptr || !m_scope.pLog->IsKnown())
            return RemoveShortcuts();
        const CInstallLog& log = *m_scope.pLog;
        const bool bInstallMade = !m_scope.strInstallDir.empty() &&
                                  ContainsFolder(log.Folders(), m_scope.strInstallDir) &&
                                  !IsProtectedFolder(m_scope.strInstallDir, m_scope.protectedFolders);
        // The uninstall program and the list go last, the list after the program, with the install
        // folder when the run made it: a removal that stops leaves both, so that the record's
        // program can try again with the list of what is left. One of them that could not go
        // stops the removal before anything went.
        std::vector<std::string> last;
        const bool bOwnsProgram = OwnsProgram(log);
        if (bOwnsProgram && !IsLeft(m_strProgram))
            last.push_back(m_strProgram);
        // The running program goes after it has ended, by a batch file that cannot take a
        // read-only file: such a program stops the removal now, as it would if it went now.
        const DWORD dwProgram = bOwnsProgram && IsLeft(m_strProgram) ? GetFileAttributesA(m_strProgram.c_str())
                                                                     : INVALID_FILE_ATTRIBUTES;
        if (dwProgram != INVALID_FILE_ATTRIBUTES && (dwProgram & FILE_ATTRIBUTE_READONLY) != 0)
        {
            m_error = CFileError(ERROR_ACCESS_DENIED, m_strProgram);
            return false;
        }
        if (!m_scope.strInstallDir.empty() && (bInstallMade || log.Owns(m_strList)) && Exists(m_strList) &&
            !IsLink(m_scope.strInstallDir))
            last.push_back(m_strList);
        for (const std::string& strLast : last)
            if (!CanDelete(strLast, m_error))
                return false;
        if (!RemoveListedFiles(log, last) || !PutKeptFilesBack(log) || !RemoveMadeFolders(log))
            return false;
        if (bInstallMade)
        {
            if (!RemoveFolder(m_scope.strInstallDir, last, nullptr))
                return false;
        }
        else
        {
            for (const std::string& strLast : last)
                if (Exists(strLast) && !DeleteFileReporting(strLast, m_error))
                    return false;
        }
        m_held.Release();
        RemoveFoldersAbove(log);
        return true;
    }

private:
    // The root that strPath lies in, with every folder from the root down to strPath's own held,
    // none of them a link; null when it lies in none, or behind a link.
    const std::string* RootOf(const std::string& strPath)
    {
        for (const std::string& strRoot : m_roots)
            if (IsInsideFolder(strPath, strRoot))
                return m_held.HoldTo(strRoot, ParentOf(strPath)) ? &strRoot : nullptr;
        return nullptr;
    }

    bool IsLeft(const std::string& strPath) const
    {
        return std::find(m_leftKeys.begin(), m_leftKeys.end(), FolderKey(strPath)) != m_leftKeys.end();
    }

    // The uninstall program that the installation wrote where nothing of the user's stood.
    bool OwnsProgram(const CInstallLog& log)
    {
        if (m_scope.strInstallDir.empty() || !log.Owns(m_strProgram) || !Exists(m_strProgram) ||
            RootOf(m_strProgram) == nullptr)
            return false;
        const std::string strKey = FolderKey(m_strProgram);
        const std::vector<SKeptFile>& kept = log.KeptFiles();
        return std::none_of(kept.begin(), kept.end(), [&](const SKeptFile& file) { return FolderKey(file.strPath) == strKey; });
    }

    bool RemoveListedFiles(const CInstallLog& log, const std::vector<std::string>& last)
    {
        const std::vector<std::string>& files = log.Files();
        const auto isLast = [&](const std::string& strPath) {
            const std::string strKey = FolderKey(strPath);
            return FolderKey(m_strList) == strKey ||
                   std::any_of(last.begin(), last.end(), [&](const std::string& strLast) { return FolderKey(strLast) == strKey; });
        };
        for (auto it = files.rbegin(); it != files.rend(); ++it)
            if (!(!m_scope.strInstallDir.empty() && isLast(*it)) && !IsLeft(*it) && RootOf(*it) != nullptr &&
                Exists(*it) && !DeleteFileReporting(*it, m_error))
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
            LogEvent("File restored: %s", it->strPath.c_str());
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
            const bool bMenu = FolderKey(*it) == FolderKey(m_scope.strMenuFolder);
            const bool bInside = bMenu ? !IsLink(*it)
                                       : FolderKey(*it) != FolderKey(m_scope.strInstallDir) && RootOf(*it) != nullptr;
            if (bInside && !IsProtectedFolder(*it, m_scope.protectedFolders) && Exists(*it) &&
                !RemoveFolder(*it, std::vector<std::string>(), bMenu ? nullptr : RootOf(*it)))
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
            if (IsProtectedFolder(*it, m_scope.protectedFolders))
                continue;
            if (std::any_of(m_roots.begin(), m_roots.end(),
                            [&](const std::string& strRoot) { return IsInsideFolder(strRoot, *it); }))
                RemoveEmptyFolder(*it);
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
            RemoveEmptyFolder(strFolder);
        return true;
    }

    // Files first, so that a file that stays stops the removal before any folder went; the files
    // in last go after all others, in their order. The folders from pstrRoot down to strFolder's
    // parent stay held meanwhile; a root itself is let go, as the folder takes it from here.
    bool RemoveFolder(const std::string& strFolder, const std::vector<std::string>& last, const std::string* pstrRoot)
    {
        m_held.Release();
        if (pstrRoot != nullptr && !m_held.HoldTo(*pstrRoot, ParentOf(strFolder)))
            return true;
        std::vector<std::string> keys = m_leftKeys;
        for (const std::string& strLast : last)
            keys.push_back(FolderKey(strLast));
        if (!RemoveTreeSkipping(strFolder, false, m_error, keys))
            return false;
        for (const std::string& strLast : last)
            if (Exists(strLast) && !DeleteFileReporting(strLast, m_error))
                return false;
        return RemoveTreeSkipping(strFolder, true, m_error, std::vector<std::string>());
    }

    const SRemovalScope& m_scope;
    CFileError& m_error;
    std::vector<std::string> m_roots;
    CHeldFolders m_held;
    std::string m_strList;
    std::string m_strProgram;
    // The FolderKey of the file that stays, if any.
    std::vector<std::string> m_leftKeys;
};
}

bool RemoveInstallation(const SRemovalScope& scope, CFileError& error)
{
    return CRemoval(scope, error).Run();
}

bool RemoveTree(const std::string& strFolder, bool bFolderPass, CFileError& error)
{
    return RemoveTreeSkipping(strFolder, bFolderPass, error, std::vector<std::string>());
}
