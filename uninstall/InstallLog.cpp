#include "InstallLog.h"

#include <windows.h>

#include "UniqueHandle.h"

namespace
{
const char* const kHeader = "ZantoSetup install log 1";
// A list longer than this is not one that Save wrote.
constexpr DWORD kMaxLogSize = 64 * 1024 * 1024;
}

void CInstallLog::Clear()
{
    m_bKnown = true;
    m_folders.clear();
    m_files.clear();
}

void CInstallLog::SetUnknown()
{
    Clear();
    m_bKnown = false;
}

void CInstallLog::AddFileIfNew(const std::string& strPath)
{
    if (GetFileAttributesA(strPath.c_str()) == INVALID_FILE_ATTRIBUTES)
        AddFile(strPath);
}

std::string CInstallLog::Format() const
{
    std::string strText = std::string(kHeader) + "\r\n";
    for (const std::string& strFolder : m_folders)
        strText += "D " + strFolder + "\r\n";
    for (const std::string& strFile : m_files)
        strText += "F " + strFile + "\r\n";
    return strText;
}

bool CInstallLog::Parse(const std::string& strText)
{
    SetUnknown();
    std::vector<std::string> folders;
    std::vector<std::string> files;
    size_t nPos = 0;
    bool bHeader = true;
    while (nPos < strText.size())
    {
        const size_t nEnd = strText.find("\r\n", nPos);
        if (nEnd == std::string::npos)
            return false;
        const std::string strLine = strText.substr(nPos, nEnd - nPos);
        nPos = nEnd + 2;
        if (bHeader)
        {
            if (strLine != kHeader)
                return false;
            bHeader = false;
            continue;
        }
        if (strLine.size() < 3 || strLine[1] != ' ' || strLine.find('\0') != std::string::npos)
            return false;
        if (strLine[0] == 'D')
            folders.push_back(strLine.substr(2));
        else if (strLine[0] == 'F')
            files.push_back(strLine.substr(2));
        else
            return false;
    }
    if (bHeader)
        return false;
    m_bKnown = true;
    m_folders = std::move(folders);
    m_files = std::move(files);
    return true;
}

bool CInstallLog::Save(const std::string& strPath) const
{
    const std::string strText = Format();
    CUniqueFile hFile(CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!hFile)
        return false;
    DWORD nWritten = 0;
    return WriteFile(hFile.get(), strText.data(), static_cast<DWORD>(strText.size()), &nWritten, nullptr) &&
           nWritten == strText.size();
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
    return Parse(strText);
}
