#include <windows.h>

#include <algorithm>
#include <cstring>

#include "FileError.h"
#include "InstallLog.h"
#include "ProtectedFolders.h"
#include "RegistryKey.h"
#include "RemovalRules.h"
#include "Shortcuts.h"
#include "TextFormat.h"
#include "Trace.h"
#include "UninstallRecord.h"
#include "ZantoSetupDlg.h"

namespace
{
// What the clean-up hides; the install-kind frame and its buttons are not touched.
const int s_anHiddenByCleanUp[] = {
    IDC_INSTALL,    IDC_PLAY,     IDC_NEXT,       IDC_INSTALL_DIR,   IDC_BROWSE,       IDC_DIR_FRAME, IDC_SPACE_INFO,
    IDC_PROGRESS,   IDC_MENU_FRAME, IDC_MENU_FOLDER, IDC_LICENSE_FRAME, IDC_LICENSE_TEXT, IDC_ACCEPT,    IDC_PERCENT,
};

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
}

void CZantoSetupDlg::CleanUp()
{
    g_bAbort = true;
    EnableDlgItem(IDCANCEL, false);
    ShowDlgItem(IDC_STATUS, true);
    for (const int nID : s_anHiddenByCleanUp)
        ShowDlgItem(nID, false);
    SetDlgItemText(IDC_STATUS, Text("Cleaning up ...", "Räume auf ..."));
    Invalidate(true);
    UpdateWindow(m_hWnd);
    Trace("CleanUp\n");

    CFileError error;
    if (!RemoveInstallation(error))
    {
        // The record stays, so that Deinstall can be tried again from the first page. The
        // handler that called the clean-up ends after it.
        EnableDlgItem(IDCANCEL, true);
        m_nPage = 0;
        ShowPage();
        error.ReportError();
        return;
    }
    DeleteUninstallRecord();
    m_installLog.Clear();

    EnableDlgItem(IDCANCEL, true);
    m_nPage = 0;
    ShowPage();
}

bool CZantoSetupDlg::RemoveInstallation(CFileError& error)
{
    std::vector<std::string> protectedFolders = ProtectedFolders();
    protectedFolders.push_back(m_strProgramsDir);
    if (m_installLog.IsKnown())
        return RemoveLogged(protectedFolders, error);
    if (!IsProtectedFolder(m_strInstallDir, protectedFolders) && !RemoveFolder(m_strInstallDir, error))
        return false;
    return RemoveStartMenu(protectedFolders, error);
}

std::string CZantoSetupDlg::RecordedStartMenu()
{
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kUninstallKeyPath, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return std::string();
    char szFolder[1024];
    DWORD nSize = 1023;
    key.QueryString(szFolder, "Startmenu", nSize);
    key.Close();
    if (nSize == 0)
    {
        Trace("Konnte Menu nicht lesen\n");
        return std::string();
    }
    Trace("Startmenu = %s\n", szFolder);
    return szFolder;
}

bool CZantoSetupDlg::RemoveStartMenu(const std::vector<std::string>& protectedFolders, CFileError& error)
{
    const std::string strFolder = RecordedStartMenu();
    if (strFolder.empty())
        return true;
    if (!IsProtectedFolder(strFolder, protectedFolders))
        return RemoveFolder(strFolder, error);
    // Shortcuts made right into a shared folder: only they go, never the folder.
    for (const SShortcut& shortcut : g_aShortcuts)
        for (const char* pszLink : {shortcut.pszLinkEnglish, shortcut.pszLinkGerman})
        {
            const std::string strLink = FormatText(pszLink, strFolder.c_str(), "");
            if (GetFileAttributesA(strLink.c_str()) != INVALID_FILE_ATTRIBUTES && !IsLink(strLink) &&
                !DeleteFileReporting(strLink, error))
                return false;
        }
    return true;
}

bool CZantoSetupDlg::RemoveLogged(const std::vector<std::string>& protectedFolders, CFileError& error)
{
    std::string strMenuFolder = RecordedStartMenu();
    if (strMenuFolder.empty())
        strMenuFolder = m_strProgramsDir + m_strMenuFolder;
    const std::string astrRoots[] = {m_strInstallDir, strMenuFolder};

    // A folder that the installation made goes as a whole, with what was added to it since.
    for (const std::string& strRoot : astrRoots)
        if (ContainsFolder(m_installLog.Folders(), strRoot) && !IsProtectedFolder(strRoot, protectedFolders) &&
            !RemoveFolder(strRoot, error))
            return false;

    const std::vector<std::string>& files = m_installLog.Files();
    for (auto it = files.rbegin(); it != files.rend(); ++it)
        for (const std::string& strRoot : astrRoots)
            if (IsInsideFolder(*it, strRoot))
            {
                if (GetFileAttributesA(it->c_str()) != INVALID_FILE_ATTRIBUTES && !LiesBehindLink(*it, strRoot) &&
                    !DeleteFileReporting(*it, error))
                    return false;
                break;
            }

    // Folders in reverse order of creation, so each after its subfolders; one that is not empty
    // holds what somebody else put there and stays.
    const std::vector<std::string>& folders = m_installLog.Folders();
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
    {
        if (IsProtectedFolder(*it, protectedFolders) || IsLink(*it))
            continue;
        const bool bOwned = std::any_of(std::begin(astrRoots), std::end(astrRoots), [&](const std::string& strRoot) {
            return IsInsideFolder(*it, strRoot) ? !LiesBehindLink(*it, strRoot)
                                                : IsInsideFolder(strRoot, *it) || FolderKey(strRoot) == FolderKey(*it);
        });
        if (bOwned)
            RemoveDirectoryA(it->c_str());
    }
    return true;
}

bool CZantoSetupDlg::RemoveFolder(const std::string& strFolder, CFileError& error)
{
    // Files first, so that a file that stays stops the removal before any folder went.
    if (!RemoveTree(strFolder, false, error))
        return false;
    return RemoveTree(strFolder, true, error);
}

bool CZantoSetupDlg::RemoveTree(const std::string& strFolder, bool bFolderPass, CFileError& error)
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
                    if (!RemoveTree(strPath, bFolderPass, error))
                        return false;
                }
                else if (!bFolderPass && !DeleteFileReporting(strPath, error))
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
