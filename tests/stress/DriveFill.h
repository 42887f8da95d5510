// Files that fill a test drive for the disk cases of the campaign.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Files that fill a test drive; removed with the case.
class CDriveFill
{
public:
    explicit CDriveFill(const std::string& strRoot) : m_strRoot(strRoot) {}
    ~CDriveFill()
    {
        for (const std::string& strFile : m_files)
        {
            SetFileAttributesA(strFile.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(strFile.c_str());
        }
    }
    CDriveFill(const CDriveFill&) = delete;
    CDriveFill& operator=(const CDriveFill&) = delete;

    // Fills the drive and gives back nLeave bytes (in whole pages); returns the bytes free then.
    std::uint64_t Fill(const char* pszName, std::uint64_t nLeave)
    {
        const std::string strFile = m_strRoot + pszName;
        m_files.push_back(strFile);
        HANDLE hFile = CreateFileA(strFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            return Free();
        std::uint64_t nWritten = 0;
        for (const DWORD nChunk : {1u << 20, 1u << 16, 1u << 12, 1u << 9})
        {
            const std::string strChunk(nChunk, 'F');
            DWORD nDone = 0;
            while (WriteFile(hFile, strChunk.data(), nChunk, &nDone, nullptr) && nDone == nChunk)
                nWritten += nDone;
            nWritten += nDone;
            LARGE_INTEGER at;
            at.QuadPart = static_cast<LONGLONG>(nWritten);
            SetFilePointerEx(hFile, at, nullptr, FILE_BEGIN);
            SetEndOfFile(hFile);
        }
        const std::uint64_t nKeep = nLeave >= nWritten ? 0 : nWritten - nLeave;
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(nKeep);
        SetFilePointerEx(hFile, at, nullptr, FILE_BEGIN);
        SetEndOfFile(hFile);
        CloseHandle(hFile);
        return Free();
    }

    std::uint64_t Free() const
    {
        ULARGE_INTEGER nFree = {}, nTotal = {}, nTotalFree = {};
        GetDiskFreeSpaceExA(m_strRoot.c_str(), &nFree, &nTotal, &nTotalFree);
        return nFree.QuadPart;
    }

private:
    std::string m_strRoot;
    std::vector<std::string> m_files;
};
