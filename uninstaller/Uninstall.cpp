#include "Uninstall.h"

#include "FileError.h"
#include "InstallLog.h"
#include "InstallationLanguage.h"
#include "KeyboardLayout.h"
#include "ProgramsFolder.h"
#include "RecordedRemoval.h"
#include "UninstallBox.h"
#include "UninstallRecord.h"

namespace
{
const char* Text(bool bEnglish, const char* pszEnglish, const char* pszGerman)
{
    return bEnglish ? pszEnglish : pszGerman;
}
}

void Uninstall()
{
    if (!UninstallRecordExists())
    {
        UninstallBox(Text(SpeaksEnglish(std::string(), IsGermanKeyboardLayout()), "Zanto Demo is not installed.",
                          "Zanto Demo ist nicht installiert."),
                     MB_OK | MB_ICONINFORMATION);
        return;
    }
    CInstallLog log;
    const SRemovalScope scope = RecordedRemovalScope(CommonProgramsFolder(), log);
    const bool bEnglish = SpeaksEnglish(log.IsKnown() ? log.Language() : std::string(), IsGermanKeyboardLayout());
    if (UninstallBox(Text(bEnglish, "Do you really want to deinstall this game ?",
                          "Wollen Sie Zanto wirklich Deinstallieren ?"),
                     MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;

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
