// The product homepages, in the uninstall record and behind the start menu's Homepage entry.
#pragma once

inline const char* ProductHomepage(bool bEnglish)
{
    return bEnglish ? "http://www.grindlow-software.com/en/games/zanto/" : "http://www.grindlow-software.com/de/spiele/zanto/";
}
