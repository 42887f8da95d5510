#include "RecordedRemoval.h"

#include <utility>

#include "InstallLog.h"
#include "ProtectedFolders.h"
#include "UninstallRecord.h"

std::vector<std::string> RemovalGuards(const std::string& strProgramsDir)
{
    std::vector<std::string> folders = ProtectedFolders();
    folders.push_back(strProgramsDir);
    return folders;
}

SRemovalScope RecordedRemovalScope(std::vector<std::string> guards, CInstallLog& log)
{
    SRemovalScope scope;
    scope.pLog = &log;
    scope.protectedFolders = std::move(guards);
    scope.strInstallDir = RecordedInstallFolder(scope.protectedFolders);
    scope.strMenuFolder = RecordedStartMenu();
    if (scope.strInstallDir.empty() || !log.Load(scope.strInstallDir + "\\" + kInstallLogName))
        log.SetUnknown();
    return scope;
}

bool RemoveInstallationAndRecord(const SRemovalScope& scope, CFileError& error)
{
    if (!RemoveInstallation(scope, error))
        return false;
    RemoveUninstallRecord();
    return true;
}
