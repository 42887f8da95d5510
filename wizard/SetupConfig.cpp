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

void AppendLicenseLine(std::string& strText, const std::string& strLine)
{
    size_t nStart = 0;
    while (strLine.size() - nStart > kLicenseLineBreak)
    {
        size_t nEnd = strLine.find_last_of(" \t", nStart + kLicenseLineBreak - 1);
        nEnd = nEnd == std::string::npos || nEnd < nStart ? nStart + kLicenseLineBreak : nEnd + 1;
        strText.append(strLine, nStart, nEnd - nStart);
        strText += "\r\n";
        nStart = nEnd;
    }
    strText.append(strLine, nStart, std::string::npos);
    strText += "\r\n";
}
