// The removal of a recorded installation, as the setup program's Deinstall and the uninstall
// program do it: in the folders that the record names, by the list in its install folder.
#pragma once

#include <string>
#include <vector>

#include "Removal.h"

// The system and shell folders, and the start menu's programs folder as this program found it.
std::vector<std::string> RemovalGuards(const std::string& strProgramsDir);

// The folders that the record names, and log loaded from the recorded install folder. A folder
// that fails the guards (RemovalGuards) or cannot be read, or a list that cannot be read, leaves
// log unknown: then only the shortcuts go.
SRemovalScope RecordedRemovalScope(std::vector<std::string> guards, CInstallLog& log);

// Removes what scope names and then the record; a file that cannot be deleted stops it, and the
// record stays with the list of what is left.
bool RemoveInstallationAndRecord(const SRemovalScope& scope, CFileError& error);
