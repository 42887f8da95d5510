#include "KeyboardLayout.h"

#include <windows.h>

#include <cstring>

namespace
{
char AsciiLower(char ch)
{
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// Windows writes the name's hexadecimal digits in capitals ("00000C07"), the list has small ones.
bool SameIgnoringCase(const char* pszLeft, const char* pszRight)
{
    for (; *pszLeft != '\0' && *pszRight != '\0'; ++pszLeft, ++pszRight)
    {
        if (AsciiLower(*pszLeft) != AsciiLower(*pszRight))
            return false;
    }
    return *pszLeft == *pszRight;
}
}

bool IsGermanLayoutName(const char* pszLayoutName)
{
    static const char* const s_apszGerman[] = {"0407", "0807", "0c07", "1007", "1407"};
    const size_t nLength = std::strlen(pszLayoutName);
    if (nLength < 4)
        return false;
    const char* pszLanguage = pszLayoutName + nLength - 4;
    for (const char* pszGerman : s_apszGerman)
    {
        if (SameIgnoringCase(pszLanguage, pszGerman))
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
