// The file error that removal raises when a file cannot be deleted; the dialog layer shows it.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

class CFileError
{
public:
    CFileError(DWORD dwError, std::string strFileName) : m_dwError(dwError), m_strFileName(std::move(strFileName)) {}

    // The message for the error's cause, naming the file.
    std::string Text() const;

    DWORD m_dwError;
    std::string m_strFileName;
};

// The message text for a Win32 error met on the file strFileName.
std::string FileErrorText(DWORD dwError, const std::string& strFileName);
