// The five start menu shortcuts of an installation.
#pragma once

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
