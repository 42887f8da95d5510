#include "UninstallRecord.h"

std::string UninstallCommand(const std::string& strInstallDir)
{
    return "\"" + strInstallDir + "\\" + kUninstallProgramName + "\"";
}
