// One run of ZantoSetup.exe on the demo medium, driven through every page in one language
// with a screenshot of each step.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "DriverTimeouts.h"
#include "ProcessUnderTest.h"
#include "WindowDriver.h"

// An install folder and a start menu folder of the walk's own, neither of which exists before.
// Going, it removes them and the uninstall record that names its folder, whatever the program left.
class CWalkFolders
{
public:
    CWalkFolders();
    ~CWalkFolders();
    CWalkFolders(const CWalkFolders&) = delete;
    CWalkFolders& operator=(const CWalkFolders&) = delete;

    const std::string& InstallDir() const { return m_strInstallDir; }
    // As typed on the start menu page: relative to the common programs folder.
    const std::string& MenuFolder() const { return m_strMenuFolder; }
    const std::string& MenuPath() const { return m_strMenuPath; }

private:
    std::string m_strParent;
    std::string m_strInstallDir;
    std::string m_strMenuFolder;
    std::string m_strMenuPath;
};

class CWizardWalk
{
public:
    // strMedium holds ZantoSetup.exe and is its current directory; the BMPs go to strOutput,
    // named after the language ("en-", "de-") and the step. Both are Windows paths.
    CWizardWalk(const std::string& strMedium, const std::string& strOutput, bool bEnglish);

    // Walks from the language dialog through an installation into folders of the walk's own, its
    // removal by the uninstall program, a second installation and its removal by Deinstall, to the
    // Quit button. Throws CDriverError naming the step that did not come; the
    // program is ended then, and the folders and the record removed.
    void Run();

private:
    const char* Text(const char* pszEnglish, const char* pszGerman) const { return m_bEnglish ? pszEnglish : pszGerman; }

    void ChooseLanguage();
    CWindowDriver WaitForStartPage();
    // With bShots, a screenshot of every page on the way.
    void WalkToStartMenuPage(const CWindowDriver& main, bool bShots);
    void Install(const CWindowDriver& main);
    // uninstall.exe, started from the record, removes the installation; page 0 then offers Install.
    void RemoveWithUninstallProgram(const CWindowDriver& main);
    // A second installation, without screenshots, for the setup program's own Deinstall.
    void Reinstall(const CWindowDriver& main);
    void Deinstall(const CWindowDriver& main);
    void ShowAbout(const CWindowDriver& main);
    void Quit(const CWindowDriver& main);

    void Snap(HWND hWnd, const char* pszStep);
    void WaitFor(const std::string& strWhat, const std::function<bool()>& fnCondition,
                 DWORD dwTimeoutMs = kDefaultTimeoutMs);
    [[noreturn]] void Fail(const std::string& strWhat, DWORD dwTimeoutMs = kDefaultTimeoutMs);

    std::string m_strMedium;
    std::string m_strOutput;
    bool m_bEnglish;
    int m_nStep = 0;
    // Declared before the process, so that the program has ended when they are removed.
    CWalkFolders m_folders;
    CProcessUnderTest m_process;
};
