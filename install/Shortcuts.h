// The five start menu shortcuts of an installation.
#pragma once

#include <string>

struct SShortcut
{
    const char* pszLinkEnglish;
    const char* pszLinkGerman;
    const char* pszTargetEnglish;
    const char* pszTargetGerman;
};

// In the order they are created. A link path takes the programs folder and the menu folder,
// a target the install folder; the homepage row's target is the homepage itself.
extern const SShortcut g_aShortcuts[5];

// Whether the start menu step takes strMenuFolder, as typed on its page, below strProgramsDir:
// the folder stays in the programs folder (IsSafeMenuFolder), and the path of every shortcut of
// the language fits the buffer that saves it. The start menu page offers Install only for such a
// folder.
bool IsAcceptedMenuFolder(const std::string& strProgramsDir, const std::string& strMenuFolder, bool bEnglish);
