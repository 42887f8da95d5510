// Line-by-line reading of a text file, as the C runtime's text mode reads it.
#pragma once

#include <string>

#include "UniqueHandle.h"

class CTextFile
{
public:
    // Opens for reading; other openers may read but not write.
    bool Open(const char* pszPath);

    // The next line without its line break (LF, or CR LF). False at the end of the file, when
    // nothing was read, and on a read error or an over-long line, which HasFailed then reports.
    bool ReadLine(std::string& strLine);
    bool HasFailed() const { return m_bFailed; }

    // Lines are limited so that a damaged file cannot exhaust the memory of the process.
    static constexpr size_t kMaxLineLength = 1024 * 1024;

private:
    bool FillBuffer();

    CUniqueFile m_hFile;
    char m_achBuffer[4096];
    DWORD m_nBuffered = 0;
    DWORD m_nPos = 0;
    bool m_bEnd = false;
    bool m_bFailed = false;
};

bool FileExists(const char* pszName);
