#include "UninstallRecord.h"

#include "Homepage.h"
#include "RegistryKey.h"
#include "ZantoSetupDlg.h"

bool CZantoSetupDlg::CheckInstalled()
{
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kUninstallKeyPath, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return false;
    char szInstallLocation[2000];
    DWORD nSize = sizeof(szInstallLocation);
    key.QueryString(szInstallLocation, "InstallLocation", nSize);
    key.Close();
    // The record alone marks an installation; an unreadable location keeps the folder known so far.
    if (nSize != 0)
        m_strInstallDir = szInstallLocation;
    return true;
}

void CZantoSetupDlg::WriteUninstallRecord()
{
    CRegistryKey key;
    key.Create(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
    key.SetString(m_bDemo ? "Zanto Demo" : "Zanto", "DisplayName");
    key.SetString((m_strInstallDir + "\\uninstall.exe").c_str(), "UninstallString");
    key.SetString("Grindlow Software", "Publisher");
    key.SetString(ProductHomepage(m_bEnglish), "URLInfoAbout");
    key.SetString(m_strInstallDir.c_str(), "InstallLocation");
    key.SetString((m_strProgramsDir + m_strMenuFolder).c_str(), "Startmenu");
    key.Close();
}

void CZantoSetupDlg::DeleteUninstallRecord()
{
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kUninstallKeyPath, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return;
    key.Close();
    CRegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
}
