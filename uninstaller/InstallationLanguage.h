// The language the uninstall program speaks: the one the installation used.
#pragma once

#include <string>

// strListLanguage is the list's language ("en", "de", or empty when there is no list or it does
// not say); without one, the keyboard layout decides, as it presets the setup program's choice.
bool SpeaksEnglish(const std::string& strListLanguage, bool bGermanLayout);
