#include "InstallRun.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "DriverError.h"
#include "Folders.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "WindowFinder.h"
#include "WindowText.h"
#include "WizardPages.h"
#include "ZantoVersion.h"
#include "resource.h"

namespace
{
const char* const kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zanto";

struct SExpectedLink
{
    const char* pszName;
    std::string strTarget;
};

std::vector<SExpectedLink> ExpectedLinks(bool bEnglish, const std::string& strInstallDir)
{
    const std::string strHomepage = bEnglish ? "http://www.grindlow-software.com/en/games/zanto/"
                                             : "http://www.grindlow-software.com/de/spiele/zanto/";
    if (bEnglish)
        return {{"Deinstall Zanto.lnk", strInstallDir + "\\uninstall.exe"},
                {"Play Zanto.lnk", strInstallDir + "\\Zanto Demo.exe"},
                {"Readme.txt.lnk", strInstallDir + "\\readme.txt"},
                {"Homepage.lnk", strHomepage},
                {"Options.lnk", strInstallDir + "\\settings.exe"}};
    return {{"Zanto deinstallieren.lnk", strInstallDir + "\\uninstall.exe"},
            {"Zanto spielen.lnk", strInstallDir + "\\Zanto Demo.exe"},
            {"Liesmich.txt.lnk", strInstallDir + "\\liesmich.txt"},
            {"Homepage.lnk", strHomepage},
            {"Einstellungen.lnk", strInstallDir + "\\settings.exe"}};
}

// Wine's shell link takes every target for a file: a URL comes back as a path below the current
// folder, with its slashes turned into backslashes. Windows keeps it as given.
std::string WithoutWineUrlMangling(const std::string& strTarget)
{
    const size_t nUrl = strTarget.find("\\http:\\");
    if (nUrl == std::string::npos)
        return strTarget;
    std::string strUrl = strTarget.substr(nUrl + 1);
    for (char& ch : strUrl)
        if (ch == '\\')
            ch = '/';
    return strUrl.replace(0, 6, "http://");
}

// What the demo medium installs: the language tree without its top folder, the cabinet's files
// and the list that Deinstall reads; never the source tree.
// The bytes that the medium's configuration of the language announces: its two byte counts.
unsigned long long AnnouncedBytes(bool bEnglish)
{
    const std::string strIni = ReadFileBytes(HostPath("ZANTO_MEDIUM") + (bEnglish ? "\\setup_en.ini" : "\\setup_ger.ini"));
    unsigned long long nBytes = 0;
    size_t nPos = 0;
    for (int nLine = 0; nLine < 3; ++nLine)
    {
        const size_t nEnd = strIni.find('\n', nPos);
        const std::string strLine = strIni.substr(nPos, nEnd == std::string::npos ? std::string::npos : nEnd - nPos);
        if (nLine > 0)
            nBytes += std::strtoull(strLine.substr(strLine.find(':') + 1).c_str(), nullptr, 10);
        nPos = nEnd == std::string::npos ? strIni.size() : nEnd + 1;
    }
    return nBytes;
}

std::vector<std::string> ExpectedFiles(bool bEnglish, bool bLanguageTree)
{
    std::vector<std::string> files = FilesBelow(HostPath("ZANTO_PAYLOAD"));
    if (bLanguageTree)
        for (const std::string& strFile : FilesBelow(HostPath("ZANTO_MEDIUM") + (bEnglish ? "\\en" : "\\ger")))
            files.push_back(strFile);
    files.push_back("uninstall.dat");
    std::sort(files.begin(), files.end());
    return files;
}
}

CInstallTarget::CInstallTarget() : CInstallTarget([] {
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    return std::string(szTemp);
}())
{
}

CInstallTarget::CInstallTarget(const std::string& strParentFolder)
{
    char szFolder[MAX_PATH];
    GetTempFileNameA(strParentFolder.c_str(), "zig", 0, szFolder);
    DeleteFileA(szFolder);
    m_strInstallDir = std::string(szFolder) + "\\Zanto";
    const std::string strUnique = szFolder;
    m_strMenuFolder = "\\Zanto " + strUnique.substr(strUnique.find_last_of('\\') + 1);
}

CInstallTarget::~CInstallTarget()
{
    RemoveFolder(m_strInstallDir);
    RemoveFolder(InstallParent());
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

void StartInstallAndCancel(const CWindowDriver& main)
{
    main.Click(IDC_NEXT);
    main.Click(IDCANCEL);
}

const char* CancelQuestion(bool bEnglish)
{
    return Text(bEnglish, "Do you really want to cancel ?", "Wollen Sie wirklich abbrechen ?");
}

const char* DeinstallQuestion(bool bEnglish)
{
    return Text(bEnglish, "Do you really want to deinstall this game ?", "Wollen Sie Zanto wirklich Deinstallieren ?");
}

void Deinstall(CSetupSession& session, const CWindowDriver& main, bool bEnglish)
{
    main.Click(IDC_INSTALL);
    AnswerBox(session, DeinstallQuestion(bEnglish), IDYES);
}

bool WaitForInstallOffered(const CWindowDriver& main, bool bEnglish)
{
    return WaitUntil([&] {
        return main.GetText(IDC_INSTALL) == Text(bEnglish, "Install", "Installieren") && main.IsEnabled(IDCANCEL);
    });
}

const char* SuccessMessage(bool bEnglish)
{
    return Text(bEnglish, "Installation successfull.", "Installation erfolgreich abgeschlossen.");
}

CBoxWatch::CBoxWatch(CSetupSession& session)
    : m_dwPid(session.Process().GetPid())
{
}

void CBoxWatch::Look()
{
    for (const HWND hBox : ListMessageBoxes(m_dwPid))
    {
        if (std::find(m_seen.begin(), m_seen.end(), hBox) != m_seen.end())
            continue;
        // A box that does not answer yet is read at the next look.
        const std::optional<std::string> strText = TryReadWindowText(GetDlgItem(hBox, kMessageBoxTextId), 500);
        if (!strText)
            continue;
        m_seen.push_back(hBox);
        m_texts.push_back(*strText);
    }
}

bool CBoxWatch::WaitUntil(const std::function<bool()>& fnCondition, DWORD dwTimeoutMs)
{
    return ::WaitUntil(
        [&] {
            Look();
            return fnCondition();
        },
        dwTimeoutMs);
}

HWND CBoxWatch::WaitForBox(const std::string& strText, DWORD dwTimeoutMs)
{
    HWND hFound = nullptr;
    WaitUntil(
        [&] {
            for (size_t nBox = 0; nBox < m_seen.size(); ++nBox)
                if (m_texts[nBox] == strText && IsWindow(m_seen[nBox]) && IsWindowVisible(m_seen[nBox]))
                    hFound = m_seen[nBox];
            return hFound != nullptr;
        },
        dwTimeoutMs);
    return hFound;
}

void CBoxWatch::Watch(DWORD dwMs)
{
    WaitUntil([] { return false; }, dwMs);
}

void ExpectStartPageWithoutInstallation(const CWindowDriver& main, bool bEnglish)
{
    for (const int nID : g_anPageControls)
    {
        const bool bShown = nID == IDC_INSTALL || nID == IDC_PLAY;
        EXPECT_EQ(bShown, main.IsVisible(nID)) << "control " << nID;
    }
    EXPECT_TRUE(main.IsVisible(IDCANCEL));
    EXPECT_EQ(Text(bEnglish, "Quit", "Beenden"), main.GetText(IDCANCEL));
    EXPECT_EQ(Text(bEnglish, "Install", "Installieren"), main.GetText(IDC_INSTALL));
    EXPECT_TRUE(main.IsEnabled(IDCANCEL));
    EXPECT_TRUE(main.IsEnabled(IDC_INSTALL));
    EXPECT_FALSE(main.IsEnabled(IDC_PLAY));
}

void ExpectCompleteInstallation(bool bEnglish, const CInstallTarget& target, bool bLanguageTree)
{
    EXPECT_EQ(ExpectedFiles(bEnglish, bLanguageTree), FilesBelow(target.InstallDir()));
    EXPECT_FALSE(FileExists(target.InstallDir() + "\\building.txt")) << "the source tree is not installed";

    const std::vector<SExpectedLink> links = ExpectedLinks(bEnglish, target.InstallDir());
    std::vector<std::string> linkNames;
    for (const SExpectedLink& link : links)
    {
        linkNames.push_back(link.pszName);
        SCOPED_TRACE(link.pszName);
        const SLinkInfo info = ReadLink(target.MenuPath() + "\\" + link.pszName);
        EXPECT_EQ(link.strTarget, WithoutWineUrlMangling(info.strTarget));
        EXPECT_EQ(target.InstallDir(), info.strWorkingDir);
        EXPECT_EQ(target.InstallDir(), info.strDescription);
    }
    std::sort(linkNames.begin(), linkNames.end());
    EXPECT_EQ(linkNames, FilesBelow(target.MenuPath()));

    SYSTEMTIME today;
    GetLocalTime(&today);
    char szToday[16];
    wsprintfA(szToday, "%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    const std::map<std::string, std::string> expectedRecord = {
        {"DisplayName", "Zanto Demo"},
        {"UninstallString", "\"" + target.InstallDir() + "\\uninstall.exe\""},
        {"Publisher", "Grindlow Software"},
        {"URLInfoAbout", links[3].strTarget},
        {"InstallLocation", target.InstallDir()},
        {"Startmenu", target.MenuPath()},
        {"DisplayVersion", ZANTO_VERSION_TEXT},
        {"DisplayIcon", target.InstallDir() + "\\Zanto Demo.exe"},
        {"EstimatedSize", std::to_string((AnnouncedBytes(bEnglish) + 1023) / 1024)},
        {"InstallDate", szToday},
        {"NoModify", "1"},
        {"NoRepair", "1"},
        {"QuietUninstallString", "\"" + target.InstallDir() + "\\uninstall.exe\" /SILENT"},
    };
    EXPECT_EQ(expectedRecord, RecordValues());
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
    AnswerBox(session, SuccessMessage(bEnglish), IDOK);
    if (testing::Test::HasFatalFailure())
        return;
    ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
}

bool WaitForEndOfFailedInstallation(const CWindowDriver& main)
{
    if (!WaitUntil([&] { return main.IsVisible(IDC_INSTALL) && main.IsEnabled(IDCANCEL); }))
        return false;
    Settle(main);
    return true;
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
        DWORD dwType = 0;
        if (RegEnumValueA(hKey, nIndex, szName, &nNameSize, nullptr, &dwType, reinterpret_cast<BYTE*>(szData),
                          &nDataSize) != ERROR_SUCCESS)
            break;
        if (dwType == REG_DWORD && nDataSize == sizeof(DWORD))
            values[szName] = std::to_string(*reinterpret_cast<const DWORD*>(szData));
        else
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

namespace
{
const char* const kLockedKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zanto";

void SetRecordDacl(HKEY hKey, bool bDenyAll)
{
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ACL acl;
    InitializeAcl(&acl, sizeof(acl), ACL_REVISION);
    // An empty list grants nothing; no list at all grants everything.
    SetSecurityDescriptorDacl(&sd, TRUE, bDenyAll ? &acl : nullptr, FALSE);
    RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, &sd);
}
}

CLockedRecord::CLockedRecord()
{
    HKEY hKey;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kLockedKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        throw CDriverError("cannot create the record's key");
    SetRecordDacl(hKey, true);
    RegCloseKey(hKey);
}

CLockedRecord::~CLockedRecord()
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kLockedKey, 0, WRITE_DAC, &hKey) == ERROR_SUCCESS)
    {
        SetRecordDacl(hKey, false);
        RegCloseKey(hKey);
    }
    DeleteUninstallRecord();
}
