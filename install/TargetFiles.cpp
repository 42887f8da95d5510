#include "TargetFiles.h"

#include <windows.h>

#include "InstallLog.h"
#include "RunLog.h"
#include "Trace.h"

bool PrepareTarget(CInstallLog& log, const std::string& strTarget)
{
    if (log.Owns(strTarget))
        return true;
    const DWORD dwAttributes = GetFileAttributesA(strTarget.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return log.AddFile(strTarget);
    // A folder in the way is left as it is: writing the file fails and the step with it.
    if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return true;
    for (unsigned nAttempt = 1; nAttempt <= kMaxKeptAttempts; ++nAttempt)
    {
        const std::string strKept = KeptFilePath(strTarget, nAttempt);
        if (GetFileAttributesA(strKept.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        Trace("Keep %s as %s\n", strTarget.c_str(), strKept.c_str());
        // A rename keeps the bytes, times and attributes, and stays on the same volume.
        if (!log.AddKept(strTarget, strKept) || !MoveFileA(strTarget.c_str(), strKept.c_str()))
            return false;
        LogEvent("File kept aside: %s as %s", strTarget.c_str(), strKept.c_str());
        return true;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return false;
}

void DropKeptFiles(CInstallLog& log)
{
    // A copy: AddFile below grows the list that the loop would otherwise walk.
    const std::vector<SKeptFile> kept = log.KeptFiles();
    for (const SKeptFile& file : kept)
    {
        if (file.bInherited)
            continue;
        // Listed first: should the kept file outlive this, removal still deletes the installed one.
        if (!log.AddFile(file.strPath))
            return;
        SetFileAttributesA(file.strKept.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(file.strKept.c_str()))
            Trace("Kept file stays %s\n", file.strKept.c_str());
    }
}
