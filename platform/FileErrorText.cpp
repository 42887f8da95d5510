#include "FileError.h"

namespace
{
const char* FileErrorTemplate(DWORD dwError)
{
    switch (dwError)
    {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
        return "Zugriff auf %1 wurde verwehrt.";
    case ERROR_SHARING_VIOLATION:
    case ERROR_SHARING_BUFFER_EXCEEDED:
        return "Eine Zugriffsverletzung ist während des Zugriffs auf %1 aufgetreten.";
    case ERROR_LOCK_VIOLATION:
    case ERROR_DRIVE_LOCKED:
        return "Eine Sperrverletzung ist während des Zugriffs auf %1 aufgetreten.";
    case ERROR_FILE_NOT_FOUND:
        return "%1 wurde nicht gefunden.";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_BAD_NETPATH:
        return "%1 enthält eine ungültige Pfadangabe.";
    default:
        return "Ein unbekannter Fehler ist beim Zugriff auf %1 aufgetreten.";
    }
}
}

std::string FileErrorText(DWORD dwError, const std::string& strFileName)
{
    std::string strText = FileErrorTemplate(dwError);
    const size_t nPos = strText.find("%1");
    strText.replace(nPos, 2, strFileName);
    return strText;
}

std::string CFileError::Text() const
{
    return FileErrorText(m_dwError, m_strFileName);
}
