// The setup directory: the folder of the running setup program, with a trailing backslash.
#pragma once

#include <string>

// The program's path with its extension replaced by ".HLP".
std::string HelpFilePath(const std::string& strModulePath);

// Everything up to and including the last backslash of strPath; ".\" when it has none.
std::string SetupDirFromPath(const std::string& strPath);
