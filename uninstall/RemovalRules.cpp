#include "RemovalRules.h"

namespace
{
bool IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

// Windows-1252: the accented small letters lie 0x20 above their capitals, except ÷ and ÿ.
char UpperCase(char ch)
{
    const unsigned char uch = static_cast<unsigned char>(ch);
    if (uch >= 'a' && uch <= 'z')
        return static_cast<char>(uch - 0x20);
    if (uch >= 0xE0 && uch <= 0xFE && uch != 0xF7)
        return static_cast<char>(uch - 0x20);
    return ch;
}

bool HasDotComponent(const std::string& strPath)
{
    size_t nStart = 0;
    while (nStart <= strPath.size())
    {
        size_t nEnd = nStart;
        while (nEnd < strPath.size() && !IsSeparator(strPath[nEnd]))
            ++nEnd;
        const std::string strComponent = strPath.substr(nStart, nEnd - nStart);
        if (strComponent == "." || strComponent == "..")
            return true;
        nStart = nEnd + 1;
    }
    return false;
}

// Length of the root part: "C:\" gives 3, "\\server\share\" the length up to the share's end.
size_t RootLength(const std::string& strPath)
{
    if (strPath.size() >= 3 && strPath[1] == ':' && IsSeparator(strPath[2]))
        return 3;
    if (strPath.size() >= 2 && IsSeparator(strPath[0]) && IsSeparator(strPath[1]))
    {
        const size_t nServerEnd = strPath.find_first_of("\\/", 2);
        if (nServerEnd == std::string::npos || nServerEnd == 2)
            return 0;
        const size_t nShareEnd = strPath.find_first_of("\\/", nServerEnd + 1);
        return nShareEnd == std::string::npos ? strPath.size() : nShareEnd + 1;
    }
    return 0;
}

// strInner equals strOuter or lies below it; both in FolderKey form.
bool IsSameOrBelow(const std::string& strInner, const std::string& strOuter)
{
    if (strInner.compare(0, strOuter.size(), strOuter) != 0)
        return false;
    return strInner.size() == strOuter.size() || strInner[strOuter.size()] == '\\';
}
}

std::string FolderKey(const std::string& strPath)
{
    std::string strKey;
    strKey.reserve(strPath.size());
    for (const char ch : strPath)
        strKey += ch == '/' ? '\\' : UpperCase(ch);
    while (!strKey.empty() && strKey.back() == '\\')
        strKey.pop_back();
    return strKey;
}

bool IsAbsolutePath(const std::string& strPath)
{
    return RootLength(strPath) > 0;
}

bool IsInsideFolder(const std::string& strPath, const std::string& strFolder)
{
    if (!IsAbsolutePath(strFolder) || HasDotComponent(strPath) || HasDotComponent(strFolder))
        return false;
    const std::string strPathKey = FolderKey(strPath);
    const std::string strFolderKey = FolderKey(strFolder);
    return strPathKey.size() > strFolderKey.size() && IsSameOrBelow(strPathKey, strFolderKey);
}

bool IsProtectedFolder(const std::string& strFolder, const std::vector<std::string>& protectedFolders)
{
    const size_t nRoot = RootLength(strFolder);
    if (nRoot == 0 || HasDotComponent(strFolder))
        return true;
    const std::string strKey = FolderKey(strFolder);
    if (strKey.size() <= FolderKey(strFolder.substr(0, nRoot)).size())
        return true;
    for (const std::string& strProtected : protectedFolders)
    {
        const std::string strProtectedKey = FolderKey(strProtected);
        if (!strProtectedKey.empty() && IsSameOrBelow(strProtectedKey, strKey))
            return true;
    }
    return false;
}

std::vector<std::string> MadeFoldersHolding(const std::string& strFile, const std::vector<std::string>& madeFolders,
                                            const std::vector<std::string>& protectedFolders)
{
    std::vector<std::string> holding;
    std::string strFolder = strFile;
    for (;;)
    {
        const size_t nSeparator = strFolder.find_last_of("\\/");
        if (nSeparator == std::string::npos)
            break;
        strFolder.erase(nSeparator);
        const std::string strKey = FolderKey(strFolder);
        bool bMade = false;
        for (const std::string& strMade : madeFolders)
            bMade = bMade || FolderKey(strMade) == strKey;
        if (!bMade || IsProtectedFolder(strFolder, protectedFolders))
            break;
        holding.push_back(strFolder);
    }
    return holding;
}
