#include "InstallationLanguage.h"

bool SpeaksEnglish(const std::string& strListLanguage, bool bGermanLayout)
{
    if (strListLanguage == "en")
        return true;
    if (strListLanguage == "de")
        return false;
    return !bGermanLayout;
}
