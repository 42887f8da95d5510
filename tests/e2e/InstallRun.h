// A complete installation driven through the wizard, and what the tests read back from it.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "SetupSession.h"
#include "WindowDriver.h"

// An install folder and a start menu folder of one test, neither of which exists before; both are
// removed with the test, whatever the program left.
class CInstallTarget
{
public:
    CInstallTarget();
    // The install folder's parent in strParentFolder instead of the temporary folder.
    explicit CInstallTarget(const std::string& strParentFolder);
    ~CInstallTarget();
    CInstallTarget(const CInstallTarget&) = delete;
    CInstallTarget& operator=(const CInstallTarget&) = delete;

    const std::string& InstallDir() const { return m_strInstallDir; }
    // The new folder that holds the install folder.
    std::string InstallParent() const { return m_strInstallDir.substr(0, m_strInstallDir.find_last_of('\\')); }
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

// Clicks Next on the start menu page with a click on Cancel queued right behind it. The program
// takes the cancel when it first empties its queue during the installation, after the first file
// of the first step that has files: the language tree, or on a medium without one, the cabinet.
void StartInstallAndCancel(const CWindowDriver& main);

const char* CancelQuestion(bool bEnglish);
const char* DeinstallQuestion(bool bEnglish);

// Clicks Deinstall on the start page and answers its question with Yes.
void Deinstall(CSetupSession& session, const CWindowDriver& main, bool bEnglish = true);
// Waits until the start page offers Install again and Quit works.
bool WaitForInstallOffered(const CWindowDriver& main, bool bEnglish = true);
const char* SuccessMessage(bool bEnglish);

// Notes every message box of the program while a test waits, so that a test can tell afterwards
// which boxes came, also one that a wrong path shows right after the state the test waited for.
class CBoxWatch
{
public:
    explicit CBoxWatch(CSetupSession& session);

    bool WaitUntil(const std::function<bool()>& fnCondition, DWORD dwTimeoutMs = 30000);
    // The open box that reads strText; nullptr after the timeout.
    HWND WaitForBox(const std::string& strText, DWORD dwTimeoutMs = 30000);
    // Keeps looking for dwMs.
    void Watch(DWORD dwMs);

    // The texts of the boxes seen so far, in the order they came.
    const std::vector<std::string>& Texts() const { return m_texts; }

private:
    void Look();

    DWORD m_dwPid;
    std::vector<HWND> m_seen;
    std::vector<std::string> m_texts;
};

// Page 0 of a wizard that has nothing installed: Install offered, Play disabled, Quit.
void ExpectStartPageWithoutInstallation(const CWindowDriver& main, bool bEnglish);

// Everything that a complete installation into target leaves: the files, the five shortcuts and
// the record. Without the language tree, a medium installs the cabinet's files alone.
void ExpectCompleteInstallation(bool bEnglish, const CInstallTarget& target, bool bLanguageTree = true);

void InstallThroughWizard(CSetupSession& session, const CWindowDriver& main, bool bEnglish,
                          const CInstallTarget& target);

// After a failed step's message: the wizard shows its first page before the clean-up runs, so the
// wait ends only once the click that started the installation has been handled whole.
bool WaitForEndOfFailedInstallation(const CWindowDriver& main);

// Answers the open message box that reads strText with nButton; fails the test when none comes.
void AnswerBox(CSetupSession& session, const std::string& strText, int nButton, DWORD dwTimeoutMs = 30000);

// The uninstall record's key, present but closed to everybody while the object lives: nothing can
// be written into it, and the program finds no record.
class CLockedRecord
{
public:
    CLockedRecord();
    ~CLockedRecord();
    CLockedRecord(const CLockedRecord&) = delete;
    CLockedRecord& operator=(const CLockedRecord&) = delete;
};

// The uninstall record's values by name, a number in decimal; empty when there is no record.
std::map<std::string, std::string> RecordValues();
// How many values a complete record holds.
constexpr size_t kRecordValueCount = 13;

struct SLinkInfo
{
    std::string strTarget;
    std::string strWorkingDir;
    std::string strDescription;
};
// Reads a shortcut file back through the shell; throws when it cannot be loaded.
SLinkInfo ReadLink(const std::string& strPath);
