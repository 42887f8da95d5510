#include "SetupSession.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "DriverError.h"
#include "Folders.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "WindowFinder.h"

namespace
{
const char* const kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zanto";
}

void CopyFolder(const std::string& strFrom, const std::string& strTo)
{
    CreateDirectoryA(strTo.c_str(), nullptr);
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((strFrom + "\\*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        throw CDriverError("cannot list " + strFrom);
    do
    {
        const std::string strName = data.cFileName;
        if (strName == "." || strName == "..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyFolder(strFrom + "\\" + strName, strTo + "\\" + strName);
        else if (!CopyFileA((strFrom + "\\" + strName).c_str(), (strTo + "\\" + strName).c_str(), FALSE))
            throw CDriverError("cannot copy " + strName);
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
}

std::string DefaultInstallFolder()
{
    char szFolder[MAX_PATH] = {};
    DWORD nSize = sizeof(szFolder);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                     RRF_RT_REG_SZ, nullptr, szFolder, &nSize) != ERROR_SUCCESS)
        throw CDriverError("no ProgramFilesDir in the registry");
    return std::string(szFolder) + "\\Zanto";
}

std::string DefaultMenuPath()
{
    return ProgramsFolder() + "\\Zanto";
}

// The tests compare with the registry in their own view and the program uses its own; a 32-bit
// program on 64-bit Windows sees the 32-bit view (WOW6432Node). They agree only when the program is
// built for the tests' architecture.
void RequireOwnArchitecture(const std::string& strExe)
{
    const DWORD dwOwnType = sizeof(void*) == 8 ? SCS_64BIT_BINARY : SCS_32BIT_BINARY;
    DWORD dwType = 0;
    if (!GetBinaryTypeA(strExe.c_str(), &dwType))
        throw CDriverError("cannot tell the architecture of " + strExe);
    if (dwType != dwOwnType)
        throw CDriverError(strExe + " is built for another architecture than these tests: it would use another "
                                    "registry view");
}

std::string HostPath(const char* pszVariable)
{
    const char* pszValue = std::getenv(pszVariable);
    if (pszValue == nullptr)
        throw CDriverError(std::string(pszVariable) + " is not set: run the tests through ctest");
    return UnixToWindowsPath(pszValue);
}

bool IsGermanLayoutRun()
{
    char szName[KL_NAMELENGTH] = {};
    GetKeyboardLayoutNameA(szName);
    const std::string strLanguage = std::string(szName).substr(4);
    for (const char* pszGerman : {"0407", "0807", "0C07", "1007", "1407"})
    {
        if (_stricmp(strLanguage.c_str(), pszGerman) == 0)
            return true;
    }
    return false;
}

bool FileExists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteTextFile(const std::string& strPath, const std::string& strContent)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        throw CDriverError("cannot write " + strPath);
    DWORD nWritten = 0;
    WriteFile(hFile, strContent.data(), static_cast<DWORD>(strContent.size()), &nWritten, nullptr);
    CloseHandle(hFile);
}

std::string ReadFileBytes(const std::string& strPath)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        throw CDriverError("cannot read " + strPath);
    std::string strContent(GetFileSize(hFile, nullptr), '\0');
    DWORD nRead = 0;
    ReadFile(hFile, &strContent[0], static_cast<DWORD>(strContent.size()), &nRead, nullptr);
    CloseHandle(hFile);
    strContent.resize(nRead);
    return strContent;
}

void DeleteUninstallRecord()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
}

void WriteUninstallRecord(const std::string& strInstallLocation)
{
    HKEY hKey;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        throw CDriverError("cannot create the uninstall record");
    RegSetValueExA(hKey, "InstallLocation", 0, REG_SZ, reinterpret_cast<const BYTE*>(strInstallLocation.c_str()),
                   static_cast<DWORD>(strInstallLocation.size() + 1));
    RegCloseKey(hKey);
}

CSetupSession::CSetupSession()
{
    const std::string strExe = HostPath("ZANTO_EXE");
    RequireOwnArchitecture(strExe);
    DeleteUninstallRecord();
    m_strDefaultInstallFolder = DefaultInstallFolder();
    m_strDefaultMenu = DefaultMenuPath();
    m_bHadDefaultInstallFolder = FileExists(m_strDefaultInstallFolder);
    m_bHadDefaultMenu = FileExists(m_strDefaultMenu);
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    char szFolder[MAX_PATH];
    GetTempFileNameA(szTemp, "zsm", 0, szFolder);
    DeleteFileA(szFolder);
    m_strMedium = szFolder;
    CopyFolder(HostPath("ZANTO_MEDIUM"), m_strMedium);
    if (!CopyFileA(strExe.c_str(), MediumFile("ZantoSetup.exe").c_str(), FALSE))
        throw CDriverError("cannot copy ZantoSetup.exe");
}

CSetupSession::~CSetupSession()
{
    m_process.Terminate();
    RemoveFolder(m_strMedium);
    DeleteUninstallRecord();
    const struct
    {
        bool bHadBefore;
        const std::string& strPath;
    } aDefaults[] = {{m_bHadDefaultInstallFolder, m_strDefaultInstallFolder}, {m_bHadDefaultMenu, m_strDefaultMenu}};
    for (const auto& folder : aDefaults)
        if (!folder.bHadBefore && FileExists(folder.strPath))
        {
            ADD_FAILURE() << "the run wrote into the machine's default folder " << folder.strPath;
            RemoveFolder(folder.strPath);
        }
}

void CSetupSession::Start(const std::string& strArguments, bool bWaitForInput)
{
    m_process.Start(MediumFile("ZantoSetup.exe"), m_strStartFolder.empty() ? m_strMedium : m_strStartFolder,
                    strArguments, bWaitForInput);
}

HWND CSetupSession::WaitForLanguageDialog()
{
    // The first window of a fresh process can take long under Wine.
    const HWND hDlg = WaitForProcessWindow(
        m_process.GetPid(),
        [](HWND hWnd) {
            char szTitle[64] = {};
            GetWindowTextA(hWnd, szTitle, sizeof(szTitle));
            return std::string(szTitle) == "Sprache ausw\xE4hlen" || std::string(szTitle) == "Choose language";
        },
        30000);
    if (hDlg == nullptr)
        throw CDriverError("no language dialog" + Diagnose());
    return hDlg;
}

void CSetupSession::ChooseLanguage(bool bEnglish, const std::string& strArguments)
{
    Start(strArguments);
    CWindowDriver language(WaitForLanguageDialog());
    // The upper button speaks the dialog's own language: English unless the layout is German.
    const bool bUpperIsEnglish = language.GetText(1017) == "English";
    const int nChosen = bUpperIsEnglish == bEnglish ? 1017 : 1018;
    language.Click(nChosen);
    if (!WaitUntil([&] { return language.GetCheck(nChosen) == BST_CHECKED; }))
        throw CDriverError("the language button was not checked" + Diagnose());
    language.Click(IDCANCEL);
}

CWindowDriver CSetupSession::StartInLanguage(bool bEnglish, const std::string& strArguments)
{
    ChooseLanguage(bEnglish, strArguments);
    return CWindowDriver(WaitForMainWindow());
}

HWND CSetupSession::WaitForMainWindow()
{
    const HWND hMain = WaitForWindowTitle(m_process.GetPid(), "Zanto Demo Setup", 30000);
    if (hMain == nullptr)
        throw CDriverError("no main window" + Diagnose());
    return hMain;
}

std::string CSetupSession::Diagnose()
{
    const std::string strBoxes = DescribeMessageBoxes(m_process.GetPid());
    return strBoxes.empty() ? std::string() : "; " + strBoxes;
}
