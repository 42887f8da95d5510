// The product homepages, in the uninstall record and behind the start menu's Homepage entry.
#pragma once

#include "Publisher.h"

inline const char* ProductHomepage(bool bEnglish)
{
    return bEnglish ? ZANTO_HOMEPAGE_EN : ZANTO_HOMEPAGE_DE;
}
