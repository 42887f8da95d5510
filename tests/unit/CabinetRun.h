// The cabinet tests' view of the system's SetupIterateCabinetA: every notification its callback
// gets, and the files it extracts.
#pragma once

#include <windows.h>

#include <setupapi.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// What the callback saw in one notification.
struct SSeen
{
    UINT nNotification;
    std::string strName; // the member's name, or the cabinet asked for
    DWORD nValue;        // the member's size, or the error of the extraction

    bool operator==(const SSeen& other) const
    {
        return nNotification == other.nNotification && strName == other.strName && nValue == other.nValue;
    }
};

inline void PrintTo(const SSeen& seen, std::ostream* pStream)
{
    switch (seen.nNotification)
    {
    case SPFILENOTIFY_CABINETINFO: *pStream << "CABINETINFO"; break;
    case SPFILENOTIFY_FILEINCABINET: *pStream << "FILEINCABINET"; break;
    case SPFILENOTIFY_NEEDNEWCABINET: *pStream << "NEEDNEWCABINET"; break;
    case SPFILENOTIFY_FILEEXTRACTED: *pStream << "FILEEXTRACTED"; break;
    default: *pStream << "notification " << seen.nNotification; break;
    }
    *pStream << "(\"" << seen.strName << "\", " << seen.nValue << ")";
}

inline SSeen CabinetInfo() { return {SPFILENOTIFY_CABINETINFO, "", 0}; }
inline SSeen InCabinet(const std::string& strName, DWORD nSize) { return {SPFILENOTIFY_FILEINCABINET, strName, nSize}; }
inline SSeen Extracted(DWORD dwError = NO_ERROR) { return {SPFILENOTIFY_FILEEXTRACTED, "", dwError}; }
inline SSeen NeedNewCabinet(const std::string& strCabinet) { return {SPFILENOTIFY_NEEDNEWCABINET, strCabinet, 0}; }

// Iterates a cabinet with the system's SetupIterateCabinetA and keeps what its callback sees.
class CCabinetRun
{
public:
    // With a target folder every member is extracted there as "0.bin", "1.bin", ...; without one,
    // every member is skipped.
    explicit CCabinetRun(std::string strTargetFolder = std::string()) : m_strTargetFolder(std::move(strTargetFolder)) {}

    // Left in the thread's last error before the call, to see whether the call set one.
    static constexpr DWORD nUntouched = 0x2000CAB0;

    bool Iterate(const std::string& strCabinet)
    {
        SetLastError(nUntouched);
        const BOOL bResult = SetupIterateCabinetA(strCabinet.c_str(), 0, Callback, this);
        m_dwError = GetLastError();
        return bResult != FALSE;
    }

    std::string Target(int nMember) const { return m_strTargetFolder + "\\" + std::to_string(nMember) + ".bin"; }

    std::vector<SSeen> m_seen;
    DWORD m_dwError = 0;
    std::string m_strNextDisk;
    // Given in turn when the next cabinet is asked for; ERROR_CANCELLED after the last.
    std::vector<UINT> m_newCabinetAnswers;

private:
    static UINT CALLBACK Callback(PVOID pContext, UINT nNotification, UINT_PTR nParam1, UINT_PTR)
    {
        return static_cast<CCabinetRun*>(pContext)->Notify(nNotification, nParam1);
    }

    UINT Notify(UINT nNotification, UINT_PTR nParam1)
    {
        switch (nNotification)
        {
        case SPFILENOTIFY_CABINETINFO:
            m_seen.push_back(CabinetInfo());
            return NO_ERROR;
        case SPFILENOTIFY_FILEINCABINET:
        {
            auto* pInfo = reinterpret_cast<FILE_IN_CABINET_INFO_A*>(nParam1);
            m_seen.push_back(InCabinet(pInfo->NameInCabinet, pInfo->FileSize));
            if (m_strTargetFolder.empty())
                return FILEOP_SKIP;
            lstrcpynA(pInfo->FullTargetName, Target(m_nMembers++).c_str(), MAX_PATH);
            return FILEOP_DOIT;
        }
        case SPFILENOTIFY_FILEEXTRACTED:
            m_seen.push_back(Extracted(reinterpret_cast<FILEPATHS_A*>(nParam1)->Win32Error));
            return NO_ERROR;
        case SPFILENOTIFY_NEEDNEWCABINET:
        {
            auto* pInfo = reinterpret_cast<CABINET_INFO_A*>(nParam1);
            m_seen.push_back(NeedNewCabinet(pInfo->CabinetFile));
            m_strNextDisk = pInfo->DiskName;
            return m_nAnswered < m_newCabinetAnswers.size() ? m_newCabinetAnswers[m_nAnswered++] : ERROR_CANCELLED;
        }
        default:
            m_seen.push_back({nNotification, "", 0});
            return NO_ERROR;
        }
    }

    std::string m_strTargetFolder;
    int m_nMembers = 0;
    std::size_t m_nAnswered = 0;
};

inline std::string ReadBytes(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline bool FileExists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Distinct bytes for every position and member, so that data read from a wrong place shows.
inline std::string Pattern(std::size_t nSize, int nSeed)
{
    std::string str(nSize, '\0');
    for (std::size_t i = 0; i < nSize; ++i)
        str[i] = static_cast<char>((i * 7 + i / 251 + nSeed * 13) & 0xFF);
    return str;
}
