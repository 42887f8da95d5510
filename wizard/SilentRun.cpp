#include <windows.h>

#include "DiskSpace.h"
#include "ExitCodes.h"
#include "InstallPaths.h"
#include "MessageBox.h"
#include "RunLog.h"
#include "Shortcuts.h"
#include "TextFormat.h"
#include "ZantoSetupDlg.h"

int CZantoSetupDlg::Notify(const char* pszText, UINT nType)
{
    LogEvent("Message: %s", pszText);
    if (!IsSilent())
        return AppMessageBox(pszText, nType);
    return (nType & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

bool CZantoSetupDlg::PrepareSilentRun()
{
    if (CheckInstalled())
    {
        LogEvent("Zanto is installed already in %s: nothing is changed", m_strInstallDir.c_str());
        m_nExitCode = kExitSuccess;
        return false;
    }
    if (!m_options.strDir.empty())
        m_strInstallDir = m_options.strDir;
    // The forms in which the folder pages take what is typed.
    m_strInstallDir = InstallFolderForm(m_strInstallDir);
    if (!m_options.strGroup.empty())
        m_strMenuFolder = MenuFolderForm(m_options.strGroup);
    LogEvent("Install folder: %s", m_strInstallDir.c_str());
    LogEvent("Start menu folder: %s%s", m_strProgramsDir.c_str(), m_strMenuFolder.c_str());

    m_nExitCode = kExitNotStarted;
    if (!IsFullLocalPath(m_strInstallDir))
    {
        LogFailure("The install folder is no full local path: " + m_strInstallDir, ERROR_BAD_PATHNAME);
        return false;
    }
    g_nBytesNeeded = AnnouncedBytes(g_nSizeBase, g_nSizeExtra);
    const DWORD nNeededMB = NeededMegabytes(g_nBytesNeeded);
    const DWORD nFreeMB = FreeMegabytesAt(m_strInstallDir);
    LogEvent("Space needed %u MB, free %u MB", static_cast<unsigned>(nNeededMB), static_cast<unsigned>(nFreeMB));
    if (!HasRoom(nNeededMB, nFreeMB))
    {
        LogFailure(FormatText("Not enough room on drive %c:", m_strInstallDir[0]), ERROR_DISK_FULL);
        return false;
    }
    if (!IsUsableMenuFolder(m_strProgramsDir, m_strMenuFolder))
    {
        LogFailure("The start menu folder is not one the start menu takes: " + m_strMenuFolder, ERROR_BAD_PATHNAME);
        return false;
    }
    m_nExitCode = kExitSuccess;
    return true;
}

void CZantoSetupDlg::OnSilentRun()
{
    m_nPage = 5;
    ShowPage();
    DoInstall();
    EndDialog(m_nExitCode);
}
