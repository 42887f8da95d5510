#include "UninstallRecord.h"

#include "Homepage.h"
#include "Publisher.h"
#include "RegistryKey.h"
#include "RunLog.h"
#include "TextFormat.h"
#include "ZantoVersion.h"
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
    const auto keepFirstFailure = [&](LONG nSetResult) {
        if (nResult == ERROR_SUCCESS)
            nResult = nSetResult;
    };
    const auto set = [&](const std::string& strText, const char* pszName) {
        keepFirstFailure(key.SetString(strText.c_str(), pszName));
        LogEvent("Record value %s = %s", pszName, strText.c_str());
    };
    const auto setNumber = [&](DWORD nValue, const char* pszName) {
        keepFirstFailure(key.SetDword(nValue, pszName));
        LogEvent("Record value %s = %lu", pszName, static_cast<unsigned long>(nValue));
    };
    set(m_bDemo ? "Zanto Demo" : "Zanto", "DisplayName");
    // Quoted: the list of programs hands it to CreateProcess as a command line, which would try
    // "C:\Program.exe" first for a folder with a blank.
    set(UninstallCommand(m_strInstallDir), "UninstallString");
    set(ZANTO_PUBLISHER, "Publisher");
    set(ProductHomepage(m_bEnglish), "URLInfoAbout");
    set(m_strInstallDir, "InstallLocation");
    set(m_strProgramsDir + m_strMenuFolder, "Startmenu");
    // What Windows' list of programs shows beside the name, and how a deployment tool removes it.
    set(ZANTO_VERSION_TEXT, "DisplayVersion");
    set(m_strInstallDir + "\\Zanto Demo.exe", "DisplayIcon");
    setNumber(static_cast<DWORD>((static_cast<unsigned long long>(g_nBytesNeeded) + 1023) / 1024), "EstimatedSize");
    SYSTEMTIME today;
    GetLocalTime(&today);
    set(FormatText("%04u%02u%02u", today.wYear, today.wMonth, today.wDay), "InstallDate");
    setNumber(1, "NoModify");
    setNumber(1, "NoRepair");
    set(UninstallCommand(m_strInstallDir) + " /SILENT", "QuietUninstallString");
    key.Close();
    if (nResult != ERROR_SUCCESS)
        LogFailure("Cannot write the uninstall record", static_cast<DWORD>(nResult));
    return nResult == ERROR_SUCCESS;
}

void CZantoSetupDlg::DeleteUninstallRecord()
{
    RemoveUninstallRecord();
}
