#include "ZantoSetup.h"

#include <windows.h>

#include "SetupDirectory.h"
#include "Trace.h"
#include "ZantoSetupDlg.h"

CZantoSetupApp theApp;

bool CZantoSetupApp::InitInstance()
{
    EnableDialogEnvironment();

    CZantoSetupDlg dlg;
    const std::string strHelpFilePath = HelpFilePath(ModuleFilePath());
    Trace("m_pszHelpFilePath %s\n", strHelpFilePath.c_str());
    lstrcpynA(dlg.m_szSetupDir, SetupDirFromPath(strHelpFilePath).c_str(), sizeof(dlg.m_szSetupDir));
    EnterSetupDirectory(dlg.m_szSetupDir);

    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return false;
}
