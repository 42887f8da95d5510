#include "Snapshot.h"

#include <algorithm>
#include <vector>

namespace
{
constexpr std::uint64_t kHashLimit = 8u << 20;

std::wstring Widen(const std::string& str)
{
    if (str.empty())
        return std::wstring();
    const int nLength = MultiByteToWideChar(CP_ACP, 0, str.data(), static_cast<int>(str.size()), nullptr, 0);
    std::wstring strWide(static_cast<std::size_t>(nLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, str.data(), static_cast<int>(str.size()), &strWide[0], nLength);
    return strWide;
}

std::string Narrow(const std::wstring& str)
{
    if (str.empty())
        return std::string();
    const int nLength =
        WideCharToMultiByte(CP_ACP, 0, str.data(), static_cast<int>(str.size()), nullptr, 0, nullptr, nullptr);
    std::string strNarrow(static_cast<std::size_t>(nLength), '\0');
    WideCharToMultiByte(CP_ACP, 0, str.data(), static_cast<int>(str.size()), &strNarrow[0], nLength, nullptr, nullptr);
    return strNarrow;
}

std::uint64_t HashWide(const std::wstring& strPath)
{
    HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1; // unreadable: compared by size and time alone
    std::uint64_t nHash = 0xCBF29CE484222325ull;
    std::vector<unsigned char> buffer(65536);
    DWORD nRead = 0;
    while (ReadFile(hFile, buffer.data(), static_cast<DWORD>(buffer.size()), &nRead, nullptr) && nRead > 0)
        for (DWORD i = 0; i < nRead; ++i)
            nHash = (nHash ^ buffer[i]) * 0x100000001B3ull;
    CloseHandle(hFile);
    return nHash;
}
}

std::wstring LongPath(const std::string& strPath)
{
    // "\\?\" turns off the system's own resolving of "." and "..": done here instead.
    const std::string strFull = ResolvePath(strPath);
    if (strFull.compare(0, 2, "\\\\") == 0)
        return L"\\\\?\\UNC\\" + Widen(strFull.substr(2));
    if (strFull.size() == 2 && strFull[1] == ':')
        return L"\\\\?\\" + Widen(strFull) + L"\\";
    return L"\\\\?\\" + Widen(strFull);
}

std::uint64_t HashLongFile(const std::string& strPath)
{
    return HashWide(LongPath(strPath));
}

bool LongPathExists(const std::string& strPath)
{
    return GetFileAttributesW(LongPath(strPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveLongPath(const std::string& strPath)
{
    const std::wstring strWide = LongPath(strPath);
    const DWORD dwAttributes = GetFileAttributesW(strWide.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(strWide.c_str(), dwAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (!(dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
    {
        DeleteFileW(strWide.c_str());
        return;
    }
    if (!(dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
    {
        WIN32_FIND_DATAW data;
        HANDLE hFind = FindFirstFileW((strWide + L"\\*").c_str(), &data);
        if (hFind != INVALID_HANDLE_VALUE)
        {
            std::vector<std::wstring> names;
            do
            {
                const std::wstring strName = data.cFileName;
                if (strName != L"." && strName != L"..")
                    names.push_back(strName);
            } while (FindNextFileW(hFind, &data));
            FindClose(hFind);
            for (const std::wstring& strName : names)
                RemoveLongPath(strPath + "\\" + Narrow(strName));
        }
    }
    RemoveDirectoryW(strWide.c_str());
}

std::string ResolvePath(const std::string& strPath)
{
    std::string strText = strPath;
    for (char& ch : strText)
        if (ch == '/')
            ch = '\\';
    std::string strPrefix;
    if (strText.compare(0, 4, "\\\\?\\") == 0)
        strText.erase(0, 4);
    if (strText.compare(0, 2, "\\\\") == 0)
    {
        strPrefix = "\\\\";
        strText.erase(0, 2);
    }
    std::vector<std::string> components;
    std::size_t nStart = 0;
    while (nStart <= strText.size())
    {
        const std::size_t nEnd = std::min(strText.find('\\', nStart), strText.size());
        std::string strPart = strText.substr(nStart, nEnd - nStart);
        // Windows drops trailing dots and blanks of a name, but "." and ".." mean folders.
        if (strPart != "." && strPart != "..")
            while (!strPart.empty() && (strPart.back() == '.' || strPart.back() == ' '))
                strPart.pop_back();
        if (strPart == "..")
        {
            if (components.size() > 1)
                components.pop_back();
        }
        else if (!strPart.empty() && strPart != ".")
            components.push_back(strPart);
        nStart = nEnd + 1;
    }
    std::string strResult = strPrefix;
    for (std::size_t i = 0; i < components.size(); ++i)
        strResult += (i ? "\\" : "") + components[i];
    return strResult;
}

std::string NormalizePath(const std::string& strPath)
{
    std::string strResult = ResolvePath(strPath);
    for (char& ch : strResult)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return strResult;
}

bool IsAtOrBelow(const std::string& strNormalizedPath, const std::string& strNormalizedFolder)
{
    if (strNormalizedFolder.empty())
        return false;
    return strNormalizedPath == strNormalizedFolder ||
           (strNormalizedPath.size() > strNormalizedFolder.size() &&
            strNormalizedPath.compare(0, strNormalizedFolder.size(), strNormalizedFolder) == 0 &&
            strNormalizedPath[strNormalizedFolder.size()] == '\\');
}

void CSnapshot::AddTree(const std::string& strRoot, bool bRecursive)
{
    // A drive root resolves to "C:"; its entries are "C:" + "\\" + name.
    const std::string strAnsi = ResolvePath(strRoot);
    Walk(LongPath(strAnsi), strAnsi, bRecursive, 0);
}

void CSnapshot::Walk(const std::wstring& strFolder, const std::string& strAnsiFolder, bool bRecursive, int nDepth)
{
    std::wstring strPattern = strFolder;
    if (strPattern.back() != L'\\')
        strPattern += L'\\';
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW((strPattern + L"*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    std::vector<WIN32_FIND_DATAW> found;
    do
    {
        const std::wstring strName = data.cFileName;
        if (strName != L"." && strName != L"..")
            found.push_back(data);
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);

    for (const WIN32_FIND_DATAW& entry : found)
    {
        SSnapEntry snap;
        const std::wstring strWidePath = strPattern + entry.cFileName;
        snap.strPath = strAnsiFolder + "\\" + Narrow(entry.cFileName);
        snap.bFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        snap.dwAttributes = entry.dwFileAttributes;
        if (!snap.bFolder)
        {
            snap.nSize = (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
            snap.nWriteTime = (static_cast<std::uint64_t>(entry.ftLastWriteTime.dwHighDateTime) << 32) |
                              entry.ftLastWriteTime.dwLowDateTime;
            snap.nHash = snap.nSize <= kHashLimit ? HashWide(strWidePath) : 0;
        }
        const std::string strKey = NormalizePath(snap.strPath);
        const bool bNew = m_entries.emplace(strKey, snap).second;
        if (bNew && bRecursive && snap.bFolder && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
            nDepth < 64)
            Walk(strWidePath, snap.strPath, true, nDepth + 1);
    }
}

SSnapDiff CompareSnapshots(const CSnapshot& before, const CSnapshot& after)
{
    SSnapDiff diff;
    for (const auto& [strKey, entry] : before.Entries())
    {
        const auto it = after.Entries().find(strKey);
        if (it == after.Entries().end())
        {
            diff.removed.push_back(entry.strPath);
            continue;
        }
        const SSnapEntry& now = it->second;
        if (entry.bFolder != now.bFolder)
            diff.changed.push_back(entry.strPath + " (file/folder)");
        else if (!entry.bFolder && (entry.nSize != now.nSize || entry.nWriteTime != now.nWriteTime ||
                                    entry.dwAttributes != now.dwAttributes || entry.nHash != now.nHash))
            diff.changed.push_back(entry.strPath);
    }
    for (const auto& [strKey, entry] : after.Entries())
        if (before.Entries().find(strKey) == before.Entries().end())
            diff.added.push_back(entry.strPath);
    return diff;
}
