#include "SetupConfig.h"

std::string ConfigValue(const std::string& strLine)
{
    const size_t nColon = strLine.find(':');
    if (nColon == std::string::npos)
        return strLine;
    return strLine.substr(nColon + 1);
}

DWORD ParseByteCount(const std::string& strValue)
{
    size_t nPos = 0;
    while (nPos < strValue.size() && (strValue[nPos] == ' ' || (strValue[nPos] >= '\t' && strValue[nPos] <= '\r')))
        ++nPos;

    bool bNegative = false;
    if (nPos < strValue.size() && (strValue[nPos] == '+' || strValue[nPos] == '-'))
        bNegative = strValue[nPos++] == '-';

    unsigned long long nCount = 0;
    for (; nPos < strValue.size() && strValue[nPos] >= '0' && strValue[nPos] <= '9'; ++nPos)
    {
        nCount = nCount * 10 + static_cast<unsigned>(strValue[nPos] - '0');
        if (nCount > MAXDWORD)
            nCount = MAXDWORD + 1ULL;  // stays above the limit without overflowing
    }
    if (bNegative)
        return 0;
    return nCount > MAXDWORD ? MAXDWORD : static_cast<DWORD>(nCount);
}
