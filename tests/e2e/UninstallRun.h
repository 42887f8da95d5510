// uninstall.exe started as Windows starts it, and its message boxes, which a copy of it in the
// temporary folder shows: they are found by their title, whatever process shows them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "InstallRun.h"

// The two ways Windows starts the uninstall program.
enum class EUninstallStart
{
    // The list of programs: the record's UninstallString as the command line.
    Record,
    // The start menu: the first shortcut's target, in its working folder.
    Shortcut,
};

const char* RemovedMessage(bool bEnglish);
const char* NotInstalledMessage(bool bEnglish);
const char* SetupRunningMessage(bool bEnglish);

// Installs into target through the wizard in the given language and quits the setup program;
// the session keeps the record until it ends.
void InstallAndQuit(CSetupSession& session, bool bEnglish, const CInstallTarget& target);

// Ends whatever the uninstall program left running or lying in the temporary folder, so that the
// next test never meets it.
class CUninstallRun
{
public:
    CUninstallRun() = default;
    ~CUninstallRun();
    CUninstallRun(const CUninstallRun&) = delete;
    CUninstallRun& operator=(const CUninstallRun&) = delete;

    // Starts uninstall.exe as Windows does and waits until the started process has ended: it
    // hands the work to its copy at once. The shortcut's name follows the installation's language.
    void Start(EUninstallStart eStart, bool bEnglish, const CInstallTarget& target);
    // As Start from the record, for a test that knows no shortcut.
    void StartFromRecord();
    // As Start from the record, when there may be no record or installation at all.
    void StartFile(const std::string& strProgram);

    // The open box titled "Zanto Demo" that reads strText; nullptr after the timeout.
    HWND WaitForBox(const std::string& strText, DWORD dwTimeoutMs = 30000) const;
    // Answers that box with nButton; fails the test when none comes.
    void AnswerBox(const std::string& strText, int nButton) const;
    // The texts of the open boxes titled "Zanto Demo", for failure messages.
    std::string Diagnose() const;

    // Whether the copy and its folder have gone from the temporary folder within the timeout.
    bool WaitForCopyGone(DWORD dwTimeoutMs = 30000) const;
};
