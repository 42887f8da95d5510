#include <windows.h>

#include "InstallLog.h"
#include "RunLog.h"
#include "RecordedRemoval.h"
#include "SetupLock.h"
#include "Trace.h"
#include "ZantoSetupDlg.h"

namespace
{
// What the clean-up hides; the install-kind frame and its buttons are not touched.
const int s_anHiddenByCleanUp[] = {
    IDC_INSTALL,    IDC_PLAY,     IDC_NEXT,       IDC_INSTALL_DIR,   IDC_BROWSE,       IDC_DIR_FRAME, IDC_SPACE_INFO,
    IDC_PROGRESS,   IDC_MENU_FRAME, IDC_MENU_FOLDER, IDC_LICENSE_FRAME, IDC_LICENSE_TEXT, IDC_ACCEPT,    IDC_PERCENT,
};
}

void CZantoSetupDlg::CleanUp()
{
    const bool bDeinstall = m_bDeinstalling;
    m_bDeinstalling = false;
    g_bAbort = true;
    EnableDlgItem(IDCANCEL, false);
    // Inside an installation this thread holds the lock already; a Deinstall while the uninstall
    // program removes changes nothing. Cancel is off first, so that the start page the failed
    // installation showed does not pass for the end of the clean-up.
    CSetupLock lock;
    if (!lock.TryAcquire())
    {
        EnableDlgItem(IDCANCEL, true);
        Notify(Text(kSetupRunningEnglish, kSetupRunningGerman));
        return;
    }
    ShowDlgItem(IDC_STATUS, true);
    for (const int nID : s_anHiddenByCleanUp)
        ShowDlgItem(nID, false);
    SetDlgItemText(IDC_STATUS, Text("Cleaning up ...", "Räume auf ..."));
    Invalidate(true);
    UpdateWindow(m_hWnd);
    Trace("CleanUp\n");
    LogEvent("Clean-up of %s and %s%s", m_strInstallDir.c_str(), m_strProgramsDir.c_str(), m_strMenuFolder.c_str());

    // The list is complete on disk; it is closed so that it can go last.
    m_installLog.EndFile();
    SRemovalScope scope;
    if (bDeinstall)
    {
        // An installation is taken apart only in the folders that its record names, by the list
        // in its folder; without that list, only its shortcuts go.
        scope = RecordedRemovalScope(RemovalGuards(m_strProgramsDir), m_installLog);
    }
    else
    {
        scope.pLog = &m_installLog;
        scope.protectedFolders = RemovalGuards(m_strProgramsDir);
        scope.strInstallDir = m_strInstallDir;
        scope.strMenuFolder = m_strProgramsDir + m_strMenuFolder;
    }

    CFileError error;
    if (!RemoveInstallationAndRecord(scope, error))
    {
        // The record and the list stay, so that Deinstall or the next run can finish the job.
        // The handler that called the clean-up ends after it.
        EnableDlgItem(IDCANCEL, true);
        m_nPage = 0;
        ShowPage();
        LogFailure(error.Text(), error.m_dwError);
        if (!IsSilent())
            error.ReportError();
        return;
    }
    m_installLog.Clear();

    EnableDlgItem(IDCANCEL, true);
    m_nPage = 0;
    ShowPage();
}
