#include "Uninstall.h"

#include "FileError.h"
#include "InstallLog.h"
#include "InstallationLanguage.h"
#include "KeyboardLayout.h"
#include "ProgramsFolder.h"
#include "RecordedRemoval.h"
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

void SayNotInstalled(bool bEnglish)
{
    UninstallBox(Text(bEnglish, "Zanto Demo is not installed.", "Zanto Demo ist nicht installiert."),
                 MB_OK | MB_ICONINFORMATION);
}
}

void Uninstall()
{
    if (!UninstallRecordExists())
    {
        SayNotInstalled(SpeaksEnglish(std::string(), IsGermanKeyboardLayout()));
        return;
    }
    // The system's folders do not change while the question stands: they are looked up once,
    // before it, so that the removal starts right after the Yes.
    const std::vector<std::string> guards = RemovalGuards(CommonProgramsFolder());
    const bool bEnglish = InstallationSpeaksEnglish(guards);
    if (UninstallBox(Text(bEnglish, "Do you really want to deinstall this game ?",
                          "Wollen Sie Zanto wirklich Deinstallieren ?"),
                     MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;

    // Held until the last message is answered, so that the setup program cannot act on the
    // installation while the user reads what happened to it.
    CSetupLock lock;
    if (!lock.TryAcquire())
    {
        UninstallBox(Text(bEnglish, kSetupRunningEnglish, kSetupRunningGerman), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // The setup program may have removed the installation while the question stood.
    if (!UninstallRecordExists())
    {
        SayNotInstalled(bEnglish);
        return;
    }
    CInstallLog log;
    const SRemovalScope scope = RecordedRemovalScope(guards, log);
    CFileError error;
    if (!RemoveInstallationAndRecord(scope, error))
    {
        UninstallBox(error.Text().c_str(), MB_OK | MB_ICONSTOP);
        return;
    }
    UninstallBox(Text(bEnglish, "Zanto Demo was removed from your computer.",
                      "Zanto Demo wurde von Ihrem Computer entfernt."),
                 MB_OK | MB_ICONINFORMATION);
}
