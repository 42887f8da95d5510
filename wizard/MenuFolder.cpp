#include "InstallPaths.h"
#include "Shortcuts.h"
#include "ZantoSetupDlg.h"

void CZantoSetupDlg::CheckMenuFolder()
{
    // A folder that the start menu step refuses would fail the installation only at its end.
    EnableDlgItem(IDC_NEXT, IsAcceptedMenuFolder(m_strProgramsDir, WithBackslashes(m_strMenuFolder), m_bEnglish));
}

void CZantoSetupDlg::OnChangeMenuFolder()
{
    // The field is hidden on the other pages, where Next belongs to them.
    if (m_nPage != 4)
        return;
    m_strMenuFolder = GetDlgItemText(IDC_MENU_FOLDER);
    CheckMenuFolder();
}
