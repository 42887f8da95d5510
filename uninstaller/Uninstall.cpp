#include "Uninstall.h"

#include "ExitCodes.h"
#include "FileError.h"
#include "InstallLog.h"
#include "InstallationLanguage.h"
#include "KeyboardLayout.h"
#include "ProgramsFolder.h"
#include "RecordedRemoval.h"
#include "RemovalRules.h"
#include "RunLog.h"
#include "SetupLock.h"
#include "UninstallBox.h"
#include "UninstallRecord.h"

namespace
{
const char* Text(bool bEnglish, const char* pszEnglish, const char* pszGerman)
{
    return bEnglish ? pszEnglish : pszGerman;
}

// The language of the recorded installation's list.
bool InstallationSpeaksEnglish(const std::vector<std::string>& guards)
{
    CInstallLog log;
    RecordedRemovalScope(guards, log);
    return SpeaksEnglish(log.IsKnown() ? log.Language() : std::string(), IsGermanKeyboardLayout());
}

// The box of an interactive run; a silent one asks nothing, and its answer is Yes (or OK). The
// log gets the text in every run.
int Say(bool bSilent, const char* pszText, UINT nType)
{
    LogEvent("Message: %s", pszText);
    if (!bSilent)
        return UninstallBox(pszText, nType);
    return (nType & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

int SayNotInstalled(bool bSilent, bool bEnglish)
{
    Say(bSilent, Text(bEnglish, "Zanto Demo is not installed.", "Zanto Demo ist nicht installiert."),
        MB_OK | MB_ICONINFORMATION);
    return kExitNotStarted;
}
}

int Uninstall(bool bSilent, const std::string& strRunningFile, std::vector<std::string>& leftFolders)
{
    if (!UninstallRecordExists())
        return SayNotInstalled(bSilent, SpeaksEnglish(std::string(), IsGermanKeyboardLayout()));
    // The system's folders do not change while the question stands: they are looked up once,
    // before it, so that the removal starts right after the Yes.
    const std::vector<std::string> guards = RemovalGuards(CommonProgramsFolder());
    const bool bEnglish = InstallationSpeaksEnglish(guards);
    if (Say(bSilent, Text(bEnglish, "Do you really want to deinstall this game ?", "Wollen Sie Zanto wirklich Deinstallieren ?"),
            MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return kExitSuccess;

    // Held until the last message is answered, so that the setup program cannot act on the
    // installation while the user reads what happened to it.
    CSetupLock lock;
    if (!lock.TryAcquire())
    {
        Say(bSilent, Text(bEnglish, kSetupRunningEnglish, kSetupRunningGerman), MB_OK | MB_ICONEXCLAMATION);
        return kExitNotStarted;
    }
    // The setup program may have removed the installation while the question stood.
    if (!UninstallRecordExists())
        return SayNotInstalled(bSilent, bEnglish);
    CInstallLog log;
    SRemovalScope scope = RecordedRemovalScope(guards, log);
    scope.strRunningFile = strRunningFile;
    LogEvent("Install folder: %s", scope.strInstallDir.c_str());
    LogEvent("Start menu folder: %s", scope.strMenuFolder.c_str());
    CFileError error;
    if (!RemoveInstallationAndRecord(scope, error))
    {
        LogFailure(error.Text(), error.m_dwError);
        if (!bSilent)
            UninstallBox(error.Text().c_str(), MB_OK | MB_ICONSTOP);
        return kExitFailed;
    }
    if (!strRunningFile.empty() && log.IsKnown() && IsInsideFolder(strRunningFile, scope.strInstallDir))
        leftFolders = MadeFoldersHolding(strRunningFile, log.Folders(), guards);
    Say(bSilent, Text(bEnglish, "Zanto Demo was removed from your computer.", "Zanto Demo wurde von Ihrem Computer entfernt."),
        MB_OK | MB_ICONINFORMATION);
    return kExitSuccess;
}
