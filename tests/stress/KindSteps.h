// The steps that the kinds of the campaign share: preparing a medium, installing and removing
// with every check, and ending a case.
#pragma once

#include <string>
#include <vector>

#include "CaseRun.h"

// A file of the demo medium that the build made.
std::string MediumSource(const char* pszName);
std::string IniName(bool bEnglish);
// A medium whose announced sizes are small: the installation starts whatever the drive has free.
void AnnounceSmallSizes(CCaseRun& run);
// Clears the read-only attribute of a folder and of everything below it, as a user would.
void ClearReadOnly(const std::string& strFolder);

void SetOutcome(SCaseResult& result, const std::string& strOutcome);
// After a successful installation: the record against the disk, the removal (the setup program's
// Deinstall, or uninstall.exe as Windows starts it), and the same again.
void RemoveInstallation(CCaseRun& run, bool bUninstallProgram = false);
// A successful installation of strCabinet must hold its members with plain names whole.
void ExpectPlainMembers(CCaseRun& run, const std::string& strCabinet);
// Starts the program, walks with the case's folders and installs. True when the installation
// succeeded and stands checked; otherwise the case has been finished.
bool LaunchAndInstall(CCaseRun& run, SCaseResult& result);
// Walks with the case's folders, installs, removes a successful installation again.
EInstallOutcome InstallAndRemove(CCaseRun& run, SCaseResult& result, SCancelPlan* pPlan = nullptr,
                                 bool bUninstallProgram = false);
// Quits, and checks that nothing is installed and nothing around changed.
void Finish(CCaseRun& run);

// The status lines of the installation's files in the order the program writes them: the
// language tree, then the cabinet's members. nLanguageFiles tells where the cabinet's begin.
std::vector<std::string> InstallOrder(CCaseRun& run, std::size_t& nLanguageFiles);
