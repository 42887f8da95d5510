// One run of ZantoSetup.exe on a private copy of the demo medium.
#pragma once

#include <windows.h>

#include <string>

#include "Folders.h"
#include "ProcessUnderTest.h"
#include "WindowDriver.h"

// A Unix path handed in by the test runner, as a Windows path on Wine's drive Z:.
std::string HostPath(const char* pszVariable);

// Whether this test run's keyboard layout is German (Wine follows the locale it started with).
bool IsGermanLayoutRun();

bool FileExists(const std::string& strPath);
void WriteTextFile(const std::string& strPath, const std::string& strContent);
std::string ReadFileBytes(const std::string& strPath);
// Copies a folder with everything below it; throws when a file cannot be copied.
void CopyFolder(const std::string& strFrom, const std::string& strTo);

// The folders that the wizard proposes. No test installs there: a session fails its test when one
// of them appeared while it ran, and removes it again.
std::string DefaultInstallFolder();
std::string DefaultMenuPath();

// The machine-wide uninstall record, which the tests create and remove.
void DeleteUninstallRecord();
void WriteUninstallRecord(const std::string& strInstallLocation);

class CSetupSession
{
public:
    // Copies the demo medium and the program into a new temporary folder.
    CSetupSession();
    ~CSetupSession();
    CSetupSession(const CSetupSession&) = delete;
    CSetupSession& operator=(const CSetupSession&) = delete;

    const std::string& MediumPath() const { return m_strMedium; }
    std::string MediumFile(const char* pszName) const { return m_strMedium + "\\" + pszName; }

    // Starts the program by its full name in the current folder given by SetStartFolder, by
    // default its medium; strArguments follow the program's quoted path on its command line.
    void Start(const std::string& strArguments = {}, bool bWaitForInput = true);
    void SetStartFolder(const std::string& strFolder) { m_strStartFolder = strFolder; }
    CProcessUnderTest& Process() { return m_process; }

    // The language dialog, whatever language it speaks.
    HWND WaitForLanguageDialog();
    // Starts the program, chooses the language and closes the language dialog, without
    // waiting for what follows. Throws when the choice does not take.
    void ChooseLanguage(bool bEnglish, const std::string& strArguments = {});
    // As ChooseLanguage, then waits for the main window.
    CWindowDriver StartInLanguage(bool bEnglish, const std::string& strArguments = {});
    HWND WaitForMainWindow();

    // Fails the test with the open message boxes named when the wait times out.
    std::string Diagnose();

private:
    std::string m_strMedium;
    std::string m_strStartFolder;
    CProcessUnderTest m_process;
    std::string m_strDefaultInstallFolder;
    std::string m_strDefaultMenu;
    bool m_bHadDefaultInstallFolder = false;
    bool m_bHadDefaultMenu = false;
};
