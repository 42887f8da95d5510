#include "CabinetExtraction.h"

#include <setupapi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "CabinetHeader.h"
#include "CreatePath.h"
#include "InstallLog.h"
#include "InstallPaths.h"
#include "MessagePump.h"
#include "Progress.h"
#include "ProgressPercent.h"
#include "RemovalRules.h"
#include "RunLog.h"
#include "TargetFiles.h"
#include "TextFormat.h"
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
        const size_t nFoldersBefore = target.pLog->Folders().size();
        CreatePath(info.FullTargetName, target.pLog);
        target.strLastFolder = strFolder;
        const std::vector<std::string>& folders = target.pLog->Folders();
        target.bNewFolder = folders.size() > nFoldersBefore && folders.back() == strFolder;
    }
    // The installation's own list is written by the installation alone.
    if (FolderKey(info.FullTargetName) == target.strListKey)
    {
        Trace("Skipped %s\n", info.NameInCabinet);
        return FILEOP_SKIP;
    }
    // Listed before it is written. A folder that this run made is listed itself and goes as a
    // whole: nothing in it can be in the way, and its files need no entries.
    if (!target.bNewFolder && !PrepareTarget(*target.pLog, info.FullTargetName))
    {
        target.nError = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_WRITE_FAULT;
        return FILEOP_ABORT;
    }
    target.nFileSize = info.FileSize;

    g_nBytesDone += info.FileSize;
    const DWORD nPercent = ProgressPercent(g_nBytesDone, g_nBytesNeeded);
    SendProgress(g_hSetupWnd, info, nPercent);
    PumpMessages();
    // A cancel confirmed just now has removed what was written; this file must not come back.
    return g_bAbort ? FILEOP_SKIP : FILEOP_DOIT;
}

// The number of members that the medium's cabinet declares, or false where it has no header or
// a directory that the system's reader cannot be trusted with: a damaged one can make it write
// under names that were never in the cabinet, or crash it.
bool DeclaredMemberCount(const char* pszCabinet, unsigned& nMembers)
{
    CUniqueFile hFile(CreateFileA(pszCabinet, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER nFileSize = {};
    if (!hFile || !GetFileSizeEx(hFile.get(), &nFileSize))
        return false;
    std::vector<unsigned char> directory(kCabinetHeaderSize);
    DWORD nRead = 0;
    if (!ReadFile(hFile.get(), directory.data(), kCabinetHeaderSize, &nRead, nullptr) ||
        !ReadCabinetMemberCount(directory.data(), nRead, nMembers))
        return false;
    const std::uint64_t nLimit = CabinetDirectoryLimit(directory.data(), nRead);
    directory.resize(static_cast<std::size_t>(std::min<std::uint64_t>(nLimit, static_cast<std::uint64_t>(nFileSize.QuadPart))));
    if (directory.size() > kCabinetHeaderSize &&
        (!ReadFile(hFile.get(), directory.data() + kCabinetHeaderSize,
                   static_cast<DWORD>(directory.size() - kCabinetHeaderSize), &nRead, nullptr) ||
         nRead != directory.size() - kCabinetHeaderSize))
        return false;
    return IsSoundCabinetDirectory(directory.data(), directory.size(), static_cast<std::uint64_t>(nFileSize.QuadPart));
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
    if (nError == NO_ERROR)
        LogEvent("File written: %s", paths.Target);
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
        LogFailure("The install folder is too long for the cabinet's files", ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    std::strcpy(target.szFolder, m_strInstallDir.c_str());
    target.strListKey = FolderKey(m_strInstallDir + "\\" + kInstallLogName);

    // A member continued from an earlier cabinet of a set is passed over without a notification:
    // only a count of the offered members against the header's shows that one is missing.
    unsigned nDeclared = 0;
    if (!DeclaredMemberCount("data.cab", nDeclared))
    {
        LogFailure("data.cab is missing, unreadable or damaged", GetLastError() != NO_ERROR ? GetLastError() : ERROR_INVALID_DATA);
        return false;
    }
    const BOOL bIterated = SetupIterateCabinetA("data.cab", 0, CabinetCallback, &target);
    if (!bIterated || target.nError != NO_ERROR)
    {
        // A cancel stops the extraction through the callback; it is no failure of the cabinet.
        if (!g_bAbort)
            LogFailure("Cannot extract data.cab", target.nError != NO_ERROR ? target.nError : GetLastError());
        return false;
    }
    if (target.nMembers != nDeclared)
    {
        Trace("Cabinet declares %u files, offered %u\n", nDeclared, target.nMembers);
        LogFailure(FormatText("data.cab declares %u files and offers %u", nDeclared, target.nMembers), ERROR_INVALID_DATA);
        return false;
    }
    return true;
}
