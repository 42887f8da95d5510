// The file error that stops removal when a file cannot be deleted; ReportError shows it.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

class CFileError
{
public:
    CFileError() = default;
    CFileError(DWORD dwError, std::string strFileName) : m_dwError(dwError), m_strFileName(std::move(strFileName)) {}

    // The message for the error's cause, naming the file.
    std::string Text() const;
    // The application's message box with that text and the stop icon.
    int ReportError() const;

    DWORD m_dwError = ERROR_SUCCESS;
    std::string m_strFileName;
};

// The message text for a Win32 error met on the file strFileName.
std::string FileErrorText(DWORD dwError, const std::string& strFileName);
