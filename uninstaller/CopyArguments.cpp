#include "CopyArguments.h"

#include <cstring>

namespace
{
constexpr const char* kCopySwitch = "/removal-copy ";
}

std::string CopyArguments(std::uintptr_t nOriginalProcess)
{
    std::string strNumber;
    do
    {
        strNumber.insert(strNumber.begin(), static_cast<char>('0' + nOriginalProcess % 10));
        nOriginalProcess /= 10;
    } while (nOriginalProcess != 0);
    return kCopySwitch + strNumber;
}

bool ParseCopyArguments(const char* pszArguments, std::uintptr_t& nOriginalProcess, std::string* pstrSwitches)
{
    while (*pszArguments == ' ')
        ++pszArguments;
    const size_t nSwitch = std::strlen(kCopySwitch);
    if (std::strncmp(pszArguments, kCopySwitch, nSwitch) != 0)
        return false;
    const char* pszDigit = pszArguments + nSwitch;
    if (*pszDigit == '\0')
        return false;
    std::uintptr_t nValue = 0;
    for (; *pszDigit != '\0' && *pszDigit != ' '; ++pszDigit)
    {
        if (*pszDigit < '0' || *pszDigit > '9')
            return false;
        const std::uintptr_t nNext = nValue * 10 + static_cast<std::uintptr_t>(*pszDigit - '0');
        if (nNext / 10 != nValue)
            return false;
        nValue = nNext;
    }
    while (*pszDigit == ' ')
        ++pszDigit;
    if ((*pszDigit != '\0' && pstrSwitches == nullptr) || nValue == 0)
        return false;
    nOriginalProcess = nValue;
    if (pstrSwitches != nullptr)
        *pstrSwitches = pszDigit;
    return true;
}
