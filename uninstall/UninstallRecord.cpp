#include "UninstallRecord.h"

#include "Homepage.h"
#include "Publisher.h"
#include "RegistryKey.h"
#include "ZantoSetupDlg.h"

bool CZantoSetupDlg::CheckInstalled()
{
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kUninstallKeyPath, KEY_READ) != ERROR_SUCCESS)
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

bool CZantoSetupDlg::WriteUninstallRecord()
{
    CRegistryKey key;
    LONG nResult = key.Create(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
    // Every value is written even after a failure; the caller learns whether all of them stand.
    const auto set = [&](const std::string& strText, const char* pszName) {
        const LONG nSetResult = key.SetString(strText.c_str(), pszName);
        if (nResult == ERROR_SUCCESS)
            nResult = nSetResult;
    };
    set(m_bDemo ? "Zanto Demo" : "Zanto", "DisplayName");
    // Quoted: the list of programs hands it to CreateProcess as a command line, which would try
    // "C:\Program.exe" first for a folder with a blank.
    set(UninstallCommand(m_strInstallDir), "UninstallString");
    set(ZANTO_PUBLISHER, "Publisher");
    set(ProductHomepage(m_bEnglish), "URLInfoAbout");
    set(m_strInstallDir, "InstallLocation");
    set(m_strProgramsDir + m_strMenuFolder, "Startmenu");
    key.Close();
    return nResult == ERROR_SUCCESS;
}

void CZantoSetupDlg::DeleteUninstallRecord()
{
    RemoveUninstallRecord();
}
