// The five start menu shortcuts of an installation.
#pragma once

struct SShortcut
{
    const char* pszLinkEnglish;
    const char* pszLinkGerman;
    const char* pszTargetEnglish;
    const char* pszTargetGerman;
};

#include <string>

// Whether the start menu step can make its shortcuts in strMenuFolder, as typed on its page and
// joined to the programs folder: a folder that stays inside it, with every shortcut's path short
// enough for the shell to save.
bool IsUsableMenuFolder(const std::string& strProgramsDir, const std::string& strMenuFolder);

// In the order they are created. A link path takes the programs folder and the menu folder,
// a target the install folder; the homepage row's target is the homepage itself.
extern const SShortcut g_aShortcuts[5];
