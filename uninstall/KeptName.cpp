#include "KeptName.h"

namespace
{
constexpr const char* kKeptSuffix = ".zanto-kept";
}

std::string KeptFilePath(const std::string& strPath, unsigned nAttempt)
{
    if (nAttempt <= 1)
        return strPath + kKeptSuffix;
    std::string strNumber;
    for (; nAttempt != 0; nAttempt /= 10)
        strNumber.insert(strNumber.begin(), static_cast<char>('0' + nAttempt % 10));
    return strPath + kKeptSuffix + strNumber;
}

bool IsKeptFilePath(const std::string& strPath, const std::string& strKept)
{
    const std::string strStem = strPath + kKeptSuffix;
    if (strKept.compare(0, strStem.size(), strStem) != 0)
        return false;
    const std::string strNumber = strKept.substr(strStem.size());
    if (strNumber.empty())
        return true;
    if (strNumber.size() > 3 || strNumber[0] == '0')
        return false;
    unsigned nAttempt = 0;
    for (const char ch : strNumber)
    {
        if (ch < '0' || ch > '9')
            return false;
        nAttempt = nAttempt * 10 + static_cast<unsigned>(ch - '0');
    }
    return nAttempt >= 2 && nAttempt <= kMaxKeptAttempts;
}
