#include "InstallLog.h"

#include <windows.h>

#include <algorithm>

#include "KeptName.h"
#include "RemovalRules.h"

namespace
{
const char* const kHeader = "ZantoSetup install log 2";
// Lists of the first kind hold only folders and files, and are read as they are.
const char* const kHeaderOne = "ZantoSetup install log 1";
// A list longer than this is not one that this program wrote.
constexpr DWORD kMaxLogSize = 64 * 1024 * 1024;

// Windows allows no control character in a name: a tab cannot be part of a path.
constexpr char kKeptSeparator = '\t';

// Paths in the list are written with backslashes only: a "/" that the folder checks took for a
// separator would slip past the search for links between the folder and the entry.
bool IsPlainPath(const std::string& strPath)
{
    if (strPath.empty())
        return false;
    for (const char ch : strPath)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == '/')
            return false;
    return true;
}

// The form every entry is written in.
std::string Backslashed(std::string strPath)
{
    for (char& ch : strPath)
        if (ch == '/')
            ch = '\\';
    return strPath;
}
}

void CInstallLog::Clear()
{
    m_hFile.reset();
    m_bKnown = true;
    m_folders.clear();
    m_files.clear();
    m_kept.clear();
    m_strLanguage.clear();
    m_owned.clear();
    m_lines.clear();
    m_nLoadedLength = 0;
    m_nLoadedLines = 0;
    m_strLoadedPath.clear();
}

void CInstallLog::SetUnknown()
{
    Clear();
    m_bKnown = false;
}

bool CInstallLog::Append(const std::string& strLine)
{
    if (m_hFile)
    {
        const std::string strText = strLine + "\r\n";
        DWORD nWritten = 0;
        if (!WriteFile(m_hFile.get(), strText.data(), static_cast<DWORD>(strText.size()), &nWritten, nullptr) ||
            nWritten != strText.size())
            return false;
    }
    m_lines.push_back(strLine);
    return true;
}

bool CInstallLog::AddFolder(const std::string& strFolder)
{
    const std::string strPath = Backslashed(strFolder);
    if (!IsPlainPath(strPath) || !Append("D " + strPath))
        return false;
    m_folders.push_back(strPath);
    return true;
}

bool CInstallLog::AddFile(const std::string& strFile)
{
    const std::string strPath = Backslashed(strFile);
    if (!IsPlainPath(strPath) || !Append("F " + strPath))
        return false;
    m_files.push_back(strPath);
    AddOwned(strPath);
    return true;
}

bool CInstallLog::AddKept(const std::string& strFile, const std::string& strKeptFile)
{
    const std::string strPath = Backslashed(strFile);
    const std::string strKept = Backslashed(strKeptFile);
    if (!IsPlainPath(strPath) || !IsKeptFilePath(strPath, strKept) ||
        !Append("K " + strPath + kKeptSeparator + strKept))
        return false;
    m_kept.push_back({strPath, strKept, false});
    AddOwned(strPath);
    return true;
}

bool CInstallLog::SetLanguage(const std::string& strLanguage)
{
    if (!IsPlainPath(strLanguage) || !Append("L " + strLanguage))
        return false;
    m_strLanguage = strLanguage;
    return true;
}

bool CInstallLog::Owns(const std::string& strPath) const
{
    return std::binary_search(m_owned.begin(), m_owned.end(), FolderKey(strPath));
}

void CInstallLog::AddOwned(const std::string& strPath)
{
    std::string strKey = FolderKey(strPath);
    const auto it = std::lower_bound(m_owned.begin(), m_owned.end(), strKey);
    if (it == m_owned.end() || *it != strKey)
        m_owned.insert(it, std::move(strKey));
}

std::string CInstallLog::Format() const
{
    std::string strText = std::string(kHeader) + "\r\n";
    for (const std::string& strLine : m_lines)
        strText += strLine + "\r\n";
    return strText;
}

bool CInstallLog::Parse(const std::string& strText)
{
    SetUnknown();
    CInstallLog parsed;
    size_t nPos = 0;
    bool bHeader = true;
    for (;;)
    {
        const size_t nEnd = strText.find("\r\n", nPos);
        // Entries are written before what they name is made: a line cut short by an ended
        // process names nothing that was made.
        if (nEnd == std::string::npos)
            break;
        const std::string strLine = strText.substr(nPos, nEnd - nPos);
        nPos = nEnd + 2;
        if (bHeader)
        {
            if (strLine != kHeader && strLine != kHeaderOne)
                return false;
            bHeader = false;
            continue;
        }
        // A list that this program wrote holds no "/": entries are backslashed before they are written.
        if (strLine.size() < 3 || strLine[1] != ' ' || strLine.find('\0') != std::string::npos ||
            strLine.find('/') != std::string::npos)
            return false;
        const std::string strValue = strLine.substr(2);
        bool bTaken = false;
        switch (strLine[0])
        {
        case 'D':
            bTaken = parsed.AddFolder(strValue);
            break;
        case 'F':
            bTaken = parsed.AddFile(strValue);
            break;
        case 'K':
        {
            const size_t nSeparator = strValue.find(kKeptSeparator);
            bTaken = nSeparator != std::string::npos &&
                     parsed.AddKept(strValue.substr(0, nSeparator), strValue.substr(nSeparator + 1));
            break;
        }
        case 'L':
            bTaken = parsed.SetLanguage(strValue);
            break;
        default:
            break;
        }
        if (!bTaken)
            return false;
    }
    if (bHeader)
        return false;
    for (SKeptFile& kept : parsed.m_kept)
        kept.bInherited = true;
    m_folders = std::move(parsed.m_folders);
    m_files = std::move(parsed.m_files);
    m_kept = std::move(parsed.m_kept);
    m_strLanguage = std::move(parsed.m_strLanguage);
    m_owned = std::move(parsed.m_owned);
    m_lines = std::move(parsed.m_lines);
    m_nLoadedLength = nPos;
    m_nLoadedLines = m_lines.size();
    m_bKnown = true;
    return true;
}

bool CInstallLog::BeginFile(const std::string& strPath)
{
    m_hFile.reset();
    const bool bContinue = !m_strLoadedPath.empty() && FolderKey(m_strLoadedPath) == FolderKey(strPath);
    CUniqueFile hFile(CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  bContinue ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile)
        return false;
    std::string strText;
    if (bContinue)
    {
        // Whatever follows the last complete line is cut, so that the next entry starts a line.
        if (SetFilePointer(hFile.get(), static_cast<LONG>(m_nLoadedLength), nullptr, FILE_BEGIN) ==
                INVALID_SET_FILE_POINTER ||
            !SetEndOfFile(hFile.get()))
            return false;
        for (size_t nLine = m_nLoadedLines; nLine < m_lines.size(); ++nLine)
            strText += m_lines[nLine] + "\r\n";
    }
    else
    {
        strText = Format();
    }
    DWORD nWritten = 0;
    if (!strText.empty() &&
        (!WriteFile(hFile.get(), strText.data(), static_cast<DWORD>(strText.size()), &nWritten, nullptr) ||
         nWritten != strText.size()))
        return false;
    m_hFile = std::move(hFile);
    return true;
}

bool CInstallLog::Load(const std::string& strPath)
{
    SetUnknown();
    CUniqueFile hFile(CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile)
        return false;
    const DWORD nSize = GetFileSize(hFile.get(), nullptr);
    if (nSize == INVALID_FILE_SIZE || nSize > kMaxLogSize)
        return false;
    std::string strText(nSize, '\0');
    DWORD nRead = 0;
    if (nSize > 0 && (!ReadFile(hFile.get(), &strText[0], nSize, &nRead, nullptr) || nRead != nSize))
        return false;
    if (!Parse(strText))
        return false;
    m_strLoadedPath = strPath;
    return true;
}
