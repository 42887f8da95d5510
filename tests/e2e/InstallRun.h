// A complete installation driven through the wizard, and what the tests read back from it.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "SetupSession.h"
#include "WindowDriver.h"

// The machine's common programs folder, as the program reads it.
std::string ProgramsFolder();

// An install folder and a start menu folder of one test, neither of which exists before; both are
// removed with the test, whatever the program left.
class CInstallTarget
{
public:
    CInstallTarget();
    ~CInstallTarget();
    CInstallTarget(const CInstallTarget&) = delete;
    CInstallTarget& operator=(const CInstallTarget&) = delete;

    const std::string& InstallDir() const { return m_strInstallDir; }
    // As typed on the start menu page: relative to the common programs folder.
    const std::string& MenuFolder() const { return m_strMenuFolder; }
    std::string MenuPath() const { return ProgramsFolder() + m_strMenuFolder; }

private:
    std::string m_strInstallDir;
    std::string m_strMenuFolder;
};

// From the start page to the start menu page, with the folders typed in.
bool WalkToMenuPage(const CWindowDriver& main, const std::string& strInstallDir, const std::string& strMenuFolder);
bool WalkToMenuPage(const CWindowDriver& main, const CInstallTarget& target);

// As WalkToMenuPage, then the click that starts the installation.
bool StartInstallation(const CWindowDriver& main, const std::string& strInstallDir, const std::string& strMenuFolder);

// Walks the wizard with the given folders, starts the installation and answers the success
// message; fails the test when another message comes or the start page does not return.
void InstallThroughWizard(CSetupSession& session, const CWindowDriver& main, bool bEnglish,
                          const std::string& strInstallDir, const std::string& strMenuFolder);
void InstallThroughWizard(CSetupSession& session, const CWindowDriver& main, bool bEnglish,
                          const CInstallTarget& target);

// Answers the open message box that reads strText with nButton; fails the test when none comes.
void AnswerBox(CSetupSession& session, const std::string& strText, int nButton, DWORD dwTimeoutMs = 30000);

// Relative paths (backslashes) of every file below strFolder, sorted.
std::vector<std::string> FilesBelow(const std::string& strFolder);

// The uninstall record's values by name; empty when there is no record.
std::map<std::string, std::string> RecordValues();

struct SLinkInfo
{
    std::string strTarget;
    std::string strWorkingDir;
    std::string strDescription;
};
// Reads a shortcut file back through the shell; throws when it cannot be loaded.
SLinkInfo ReadLink(const std::string& strPath);
