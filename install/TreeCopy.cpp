#include <windows.h>
#include <setupapi.h>

#include <cstring>

#include "CreatePath.h"
#include "InstallPaths.h"
#include "MessagePump.h"
#include "Progress.h"
#include "ProgressPercent.h"
#include "RunLog.h"
#include "TargetFiles.h"
#include "Trace.h"
#include "UniqueHandle.h"
#include "ZantoSetupDlg.h"

namespace
{
std::string FullPathOf(const std::string& strFolder)
{
    char szFull[MAX_PATH];
    const DWORD nLength = GetFullPathNameA(strFolder.c_str(), sizeof(szFull), szFull, nullptr);
    return nLength > 0 && nLength < sizeof(szFull) ? std::string(szFull, nLength) : strFolder;
}
}

bool CZantoSetupDlg::CopyLanguageFiles()
{
    return CopyTree(m_bEnglish ? "en" : "ger");
}

bool CZantoSetupDlg::CopySourceFiles()
{
    return CopyTree("src");
}

bool CZantoSetupDlg::CopyTree(std::string strFolder)
{
    Trace("Copy %s\n", strFolder.c_str());
    WIN32_FIND_DATAA data;
    CUniqueFind hFind(FindFirstFileA((strFolder + "\\*.*").c_str(), &data));
    // A tree that the medium does not have counts as copied.
    if (!hFind)
        return true;

    const std::string strSourceFolder = FullPathOf(strFolder);
    // The destination comes from the file's place inside its tree, never from the name of the
    // folder the medium lies in.
    const std::string strDestFolder = TreeDestinationFolder(m_strInstallDir, strFolder);
    bool bMore = true;
    while (bMore)
    {
        // A confirmed cancel has removed what was copied: the copy ends at the next entry.
        if (g_bAbort)
            return false;
        const WIN32_FIND_DATAA entry = data;
        bMore = FindNextFileA(hFind.get(), &data) != FALSE;
        if (std::strcmp(entry.cFileName, ".") == 0 || std::strcmp(entry.cFileName, "..") == 0)
            continue;

        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            if (!CopyTree(strFolder + "\\" + entry.cFileName))
                return false;
        }
        else if (!CopyTreeFile(strSourceFolder + "\\" + entry.cFileName, strDestFolder, entry.cFileName))
        {
            return false;
        }
        PumpMessages();
    }
    return true;
}

bool CZantoSetupDlg::CopyTreeFile(const std::string& strSource, const std::string& strDestFolder, const char* pszName)
{
    const std::string strTarget = strDestFolder + "\\" + pszName;
    FILE_IN_CABINET_INFO_A info = {};
    // Paths that do not fit the progress record fail like any other copy, never cut short.
    if (strTarget.size() < sizeof(info.FullTargetName))
    {
        CreatePath((strDestFolder + "\\").c_str(), &m_installLog);

        WIN32_FILE_ATTRIBUTE_DATA status;
        if (!GetFileAttributesExA(strSource.c_str(), GetFileExInfoStandard, &status))
            return false;
        g_nBytesDone += status.nFileSizeLow;
        info.FileSize = status.nFileSizeLow;
        const DWORD nPercent = ProgressPercent(g_nBytesDone, g_nBytesNeeded);

        Trace("copy %s -> %s\n", strSource.c_str(), strTarget.c_str());
        // Listed before the copy, and a file of the user's put aside: a copy that fails halfway
        // may leave part of the file behind.
        if (PrepareTarget(m_installLog, strTarget) && CopyFileA(strSource.c_str(), strTarget.c_str(), FALSE))
        {
            // A copy keeps the attributes of its source, and every file of a CD is read-only:
            // the installed file must stay removable and writable like any other.
            const DWORD dwAttributes = GetFileAttributesA(strTarget.c_str());
            if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY) != 0)
                SetFileAttributesA(strTarget.c_str(), dwAttributes & ~FILE_ATTRIBUTE_READONLY);
            LogEvent("File written: %s", strTarget.c_str());
            std::memcpy(info.FullTargetName, strTarget.c_str(), strTarget.size() + 1);
            SendProgress(m_hWnd, info, nPercent);
            return true;
        }
    }
    LogFailure("Cannot copy " + strSource + " to " + strTarget, GetLastError());
    Notify(("Copy failed " + strSource + " -> " + strTarget).c_str());
    return false;
}
