#include "CabinetExtraction.h"

#include <setupapi.h>

#include <cstring>

#include "CabinetHeader.h"
#include "CreatePath.h"
#include "InstallLog.h"
#include "InstallPaths.h"
#include "MessagePump.h"
#include "ProgressPercent.h"
#include "Trace.h"
#include "UniqueHandle.h"
#include "ZantoSetupDlg.h"

namespace
{
UINT OnFileInCabinet(SCabinetTarget& target, FILE_IN_CABINET_INFO_A& info)
{
    ++target.nMembers;
    if (target.nError != NO_ERROR)
        return FILEOP_ABORT;
    // A name that leaves the install folder, or a path that does not fit the record, ends the
    // extraction: nothing is ever written outside the install folder or into a cut-off path.
    const size_t nFolder = std::strlen(target.szFolder);
    const size_t nName = std::strlen(info.NameInCabinet);
    if (!IsSafeMemberName(info.NameInCabinet) || nFolder + 1 + nName >= sizeof(info.FullTargetName))
    {
        Trace("Refused %s\n", info.NameInCabinet);
        // Wine takes FILEOP_ABORT for a skip and goes on: the kept error fails the extraction.
        target.nError = ERROR_INVALID_NAME;
        return FILEOP_ABORT;
    }
    std::memcpy(info.FullTargetName, target.szFolder, nFolder);
    info.FullTargetName[nFolder] = '\\';
    std::memcpy(info.FullTargetName + nFolder + 1, info.NameInCabinet, nName + 1);

    // Files of one folder follow each other in a cabinet: their folders are made once.
    const std::string strFolder(info.FullTargetName, std::strrchr(info.FullTargetName, '\\') - info.FullTargetName);
    if (strFolder != target.strLastFolder)
    {
        CreatePath(info.FullTargetName, target.pLog);
        target.strLastFolder = strFolder;
        const std::vector<std::string>& folders = target.pLog->Folders();
        target.bNewFolder = !folders.empty() && folders.back() == strFolder;
    }
    if (target.bNewFolder)
        target.pLog->AddFile(info.FullTargetName);
    else
        target.pLog->AddFileIfNew(info.FullTargetName);
    target.nFileSize = info.FileSize;

    g_nBytesDone += info.FileSize;
    const DWORD nPercent = ProgressPercent(g_nBytesDone, g_nBytesNeeded);
    SendProgress(g_hSetupWnd, info, nPercent);
    PumpMessages();
    // A cancel confirmed just now has removed what was written; this file must not come back.
    return g_bAbort ? FILEOP_SKIP : FILEOP_DOIT;
}

// The number of members that the medium's cabinet declares, or false where it has no header.
bool DeclaredMemberCount(const char* pszCabinet, unsigned& nMembers)
{
    CUniqueFile hFile(CreateFileA(pszCabinet, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    unsigned char aHeader[32];
    DWORD nRead = 0;
    return hFile && ReadFile(hFile.get(), aHeader, sizeof(aHeader), &nRead, nullptr) &&
           ReadCabinetMemberCount(aHeader, nRead, nMembers);
}

UINT CheckExtractedFile(const SCabinetTarget& target, const FILEPATHS_A& paths)
{
    if (paths.Win32Error != NO_ERROR)
        return paths.Win32Error;
    // Wine's extraction reports success when the disk filled up while it wrote the file: a file
    // shorter than the cabinet says was not written whole.
    WIN32_FILE_ATTRIBUTE_DATA status;
    if (!GetFileAttributesExA(paths.Target, GetFileExInfoStandard, &status))
        return GetLastError();
    if (status.nFileSizeHigh != 0 || status.nFileSizeLow != target.nFileSize)
    {
        Trace("Incomplete %s\n", paths.Target);
        return ERROR_WRITE_FAULT;
    }
    return NO_ERROR;
}

UINT OnFileExtracted(SCabinetTarget& target, const FILEPATHS_A& paths)
{
    const UINT nError = CheckExtractedFile(target, paths);
    // Wine's SetupIterateCabinetA goes on after this answer: the error is kept, so that the
    // next file ends the extraction and the extraction counts as failed.
    if (target.nError == NO_ERROR)
        target.nError = nError;
    return nError;
}
}

UINT CALLBACK CabinetCallback(PVOID pContext, UINT nNotification, UINT_PTR nParam1, UINT_PTR)
{
    if (g_bAbort)
        return 0;
    switch (nNotification)
    {
    case SPFILENOTIFY_FILEINCABINET:
        return OnFileInCabinet(*static_cast<SCabinetTarget*>(pContext),
                               *reinterpret_cast<FILE_IN_CABINET_INFO_A*>(nParam1));
    case SPFILENOTIFY_NEEDNEWCABINET:
        // A cabinet that continues in another one is not part of this medium.
        Trace("Cabinet asks for a continuation\n");
        static_cast<SCabinetTarget*>(pContext)->nError = ERROR_INVALID_PARAMETER;
        return ERROR_INVALID_PARAMETER;
    case SPFILENOTIFY_FILEEXTRACTED:
        return OnFileExtracted(*static_cast<SCabinetTarget*>(pContext), *reinterpret_cast<const FILEPATHS_A*>(nParam1));
    default:
        return 0;
    }
}

bool CZantoSetupDlg::ExtractCabinet()
{
    g_bAbort = false;
    g_hSetupWnd = m_hWnd;
    g_nBytesDone = 0;

    SCabinetTarget target = {};
    target.pLog = &m_installLog;
    if (m_strInstallDir.size() >= sizeof(target.szFolder))
    {
        Trace("Install folder too long\n");
        return false;
    }
    std::strcpy(target.szFolder, m_strInstallDir.c_str());
    if (CreateDirectoryA(target.szFolder, nullptr))
        m_installLog.AddFolder(target.szFolder);

    // A member continued from an earlier cabinet of a set is passed over without a notification:
    // only a count of the offered members against the header's shows that one is missing.
    unsigned nDeclared = 0;
    if (!DeclaredMemberCount("data.cab", nDeclared))
        return false;
    if (!SetupIterateCabinetA("data.cab", 0, CabinetCallback, &target) || target.nError != NO_ERROR)
        return false;
    if (target.nMembers != nDeclared)
    {
        Trace("Cabinet declares %u files, offered %u\n", nDeclared, target.nMembers);
        return false;
    }
    return true;
}
