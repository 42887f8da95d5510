// The setup directory: the folder of the running setup program, with a trailing backslash.
#pragma once

#include <string>

// The program's path with its extension replaced by ".HLP".
std::string HelpFilePath(const std::string& strModulePath);

// Everything up to and including the last backslash of strPath; ".\" when it has none.
std::string SetupDirFromPath(const std::string& strPath);

// Makes the setup directory the current directory, so that the medium's files are read from the
// program's own folder wherever it was started from. Where that fails, the system folder becomes
// the current directory: the medium's files are then missing, and a stranger's are never read.
void EnterSetupDirectory(const char* pszSetupDir);
