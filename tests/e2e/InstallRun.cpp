#include "InstallRun.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>

#include "DriverError.h"
#include "Folders.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "WindowFinder.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
const char* const kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zanto";

void ListFiles(const std::string& strFolder, const std::string& strPrefix, std::vector<std::string>& files)
{
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((strFolder + "\\*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do
    {
        const std::string strName = data.cFileName;
        if (strName == "." || strName == "..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(strFolder + "\\" + strName, strPrefix + strName + "\\", files);
        else
            files.push_back(strPrefix + strName);
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
}
}

std::string ProgramsFolder()
{
    char szFolder[MAX_PATH] = {};
    DWORD nSize = sizeof(szFolder);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     "Common Programs", RRF_RT_REG_SZ, nullptr, szFolder, &nSize) != ERROR_SUCCESS)
        throw CDriverError("no common programs folder in the registry");
    return szFolder;
}

CInstallTarget::CInstallTarget()
{
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    char szFolder[MAX_PATH];
    GetTempFileNameA(szTemp, "zig", 0, szFolder);
    DeleteFileA(szFolder);
    m_strInstallDir = std::string(szFolder) + "\\Zanto";
    const std::string strUnique = szFolder;
    m_strMenuFolder = "\\Zanto " + strUnique.substr(strUnique.find_last_of('\\') + 1);
}

CInstallTarget::~CInstallTarget()
{
    RemoveFolder(m_strInstallDir);
    RemoveFolder(m_strInstallDir.substr(0, m_strInstallDir.find_last_of('\\')));
    RemoveFolder(MenuPath());
}

bool WalkToMenuPage(const CWindowDriver& main, const std::string& strInstallDir, const std::string& strMenuFolder)
{
    if (!WalkTo(main, 3))
        return false;
    main.SetText(IDC_INSTALL_DIR, strInstallDir);
    if (!GoForward(main, 3))
        return false;
    main.SetText(IDC_MENU_FOLDER, strMenuFolder);
    return true;
}

bool WalkToMenuPage(const CWindowDriver& main, const CInstallTarget& target)
{
    return WalkToMenuPage(main, target.InstallDir(), target.MenuFolder());
}

bool StartInstallation(const CWindowDriver& main, const std::string& strInstallDir, const std::string& strMenuFolder)
{
    if (!WalkToMenuPage(main, strInstallDir, strMenuFolder))
        return false;
    main.Click(IDC_NEXT);
    return true;
}

void AnswerBox(CSetupSession& session, const std::string& strText, int nButton, DWORD dwTimeoutMs)
{
    const HWND hBox = WaitForMessageBoxText(session.Process().GetPid(), strText, ETextMatch::Equals, dwTimeoutMs);
    ASSERT_NE(nullptr, hBox) << "no message \"" << strText << "\"" << session.Diagnose();
    AnswerMessageBox(hBox, nButton);
    ASSERT_TRUE(WaitForWindowGone(hBox)) << session.Diagnose();
}

void InstallThroughWizard(CSetupSession& session, const CWindowDriver& main, bool bEnglish,
                          const CInstallTarget& target)
{
    InstallThroughWizard(session, main, bEnglish, target.InstallDir(), target.MenuFolder());
}

void InstallThroughWizard(CSetupSession& session, const CWindowDriver& main, bool bEnglish,
                          const std::string& strInstallDir, const std::string& strMenuFolder)
{
    ASSERT_TRUE(StartInstallation(main, strInstallDir, strMenuFolder)) << session.Diagnose();
    AnswerBox(session, Text(bEnglish, "Installation successfull.", "Installation erfolgreich abgeschlossen."), IDOK);
    if (testing::Test::HasFatalFailure())
        return;
    ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
}

std::vector<std::string> FilesBelow(const std::string& strFolder)
{
    std::vector<std::string> files;
    ListFiles(strFolder, "", files);
    std::sort(files.begin(), files.end());
    return files;
}

std::map<std::string, std::string> RecordValues()
{
    std::map<std::string, std::string> values;
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return values;
    for (DWORD nIndex = 0;; ++nIndex)
    {
        char szName[256];
        DWORD nNameSize = sizeof(szName);
        char szData[2048] = {};
        DWORD nDataSize = sizeof(szData) - 1;
        if (RegEnumValueA(hKey, nIndex, szName, &nNameSize, nullptr, nullptr, reinterpret_cast<BYTE*>(szData),
                          &nDataSize) != ERROR_SUCCESS)
            break;
        values[szName] = szData;
    }
    RegCloseKey(hKey);
    return values;
}

SLinkInfo ReadLink(const std::string& strPath)
{
    CoInitialize(nullptr);
    IShellLinkA* pLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&pLink))))
        throw CDriverError("no shell link object");
    IPersistFile* pFile = nullptr;
    pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile));
    WCHAR wszPath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, strPath.c_str(), -1, wszPath, MAX_PATH);
    const HRESULT hr = pFile->Load(wszPath, STGM_READ);
    SLinkInfo info;
    char szText[1024] = {};
    if (SUCCEEDED(hr))
    {
        pLink->GetPath(szText, sizeof(szText), nullptr, SLGP_RAWPATH);
        info.strTarget = szText;
        szText[0] = '\0';
        pLink->GetWorkingDirectory(szText, sizeof(szText));
        info.strWorkingDir = szText;
        szText[0] = '\0';
        pLink->GetDescription(szText, sizeof(szText));
        info.strDescription = szText;
    }
    pFile->Release();
    pLink->Release();
    if (FAILED(hr))
        throw CDriverError("cannot load the shortcut " + strPath);
    return info;
}
