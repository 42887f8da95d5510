#include "KeyboardLayout.h"

#include <windows.h>

#include <cstring>

bool IsGermanLayoutName(const char* pszLayoutName)
{
    static const char* const s_apszGerman[] = {"0407", "0807", "0c07", "1007", "1407"};
    const size_t nLength = std::strlen(pszLayoutName);
    if (nLength < 4)
        return false;
    const char* pszLanguage = pszLayoutName + nLength - 4;
    for (const char* pszGerman : s_apszGerman)
    {
        if (std::strcmp(pszLanguage, pszGerman) == 0)
            return true;
    }
    return false;
}

bool IsGermanKeyboardLayout()
{
    char szName[1024] = {};
    if (!GetKeyboardLayoutNameA(szName))
        return true;
    return IsGermanLayoutName(szName);
}
