// A fresh folder for one test, made the current directory while the object lives.
#pragma once

#include <windows.h>

#include <string>

#include "Folders.h"

class CTempFolder
{
public:
    CTempFolder()
    {
        char szTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, szTemp);
        char szPath[MAX_PATH];
        GetTempFileNameA(szTemp, "zst", 0, szPath);
        DeleteFileA(szPath);
        CreateDirectoryA(szPath, nullptr);
        m_strPath = szPath;
        GetCurrentDirectoryA(MAX_PATH, m_szPrevious);
        SetCurrentDirectoryA(szPath);
    }
    ~CTempFolder()
    {
        SetCurrentDirectoryA(m_szPrevious);
        RemoveFolder(m_strPath);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::string& Path() const { return m_strPath; }

    static void WriteFile(const std::string& strName, const std::string& strContent)
    {
        HANDLE hFile = CreateFileA(strName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD nWritten = 0;
        ::WriteFile(hFile, strContent.data(), static_cast<DWORD>(strContent.size()), &nWritten, nullptr);
        CloseHandle(hFile);
    }

    // The whole file; "<missing>" when it cannot be opened.
    static std::string ReadFile(const std::string& strName)
    {
        HANDLE hFile = CreateFileA(strName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            return "<missing>";
        std::string strContent;
        char szBuffer[4096];
        DWORD nRead = 0;
        while (::ReadFile(hFile, szBuffer, sizeof(szBuffer), &nRead, nullptr) && nRead > 0)
            strContent.append(szBuffer, nRead);
        CloseHandle(hFile);
        return strContent;
    }

private:
    std::string m_strPath;
    char m_szPrevious[MAX_PATH];
};
