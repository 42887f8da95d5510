#include "TextFile.h"

bool CTextFile::Open(const char* pszPath)
{
    m_hFile.reset(CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
    m_nBuffered = m_nPos = 0;
    m_bEnd = m_bFailed = false;
    return static_cast<bool>(m_hFile);
}

bool CTextFile::FillBuffer()
{
    if (m_bEnd || m_bFailed)
        return false;
    DWORD nRead = 0;
    if (!ReadFile(m_hFile.get(), m_achBuffer, sizeof(m_achBuffer), &nRead, nullptr))
    {
        m_bFailed = true;
        return false;
    }
    if (nRead == 0)
    {
        m_bEnd = true;
        return false;
    }
    m_nBuffered = nRead;
    m_nPos = 0;
    return true;
}

bool CTextFile::ReadLine(std::string& strLine)
{
    strLine.clear();
    bool bReadAny = false;
    for (;;)
    {
        if (m_nPos == m_nBuffered && !FillBuffer())
            return bReadAny && !m_bFailed;

        const char ch = m_achBuffer[m_nPos++];
        // Text mode: Ctrl+Z marks the end of the file.
        if (ch == '\x1A')
        {
            m_bEnd = true;
            m_nPos = m_nBuffered;
            return bReadAny;
        }
        bReadAny = true;
        if (ch == '\n')
        {
            if (!strLine.empty() && strLine.back() == '\r')
                strLine.pop_back();
            return true;
        }
        if (strLine.size() == kMaxLineLength)
        {
            m_bFailed = true;
            return false;
        }
        strLine += ch;
    }
}

bool FileExists(const char* pszName)
{
    WIN32_FIND_DATAA findData;
    CUniqueFind hFind(FindFirstFileA(pszName, &findData));
    return static_cast<bool>(hFind);
}
