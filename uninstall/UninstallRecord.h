// Where the uninstall record of an installation lies, under HKEY_LOCAL_MACHINE, what removal reads
// of it, and its deletion.
#pragma once

#include <string>
#include <vector>

constexpr const char* kUninstallKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zanto";

// The uninstall program in the install folder, which the record's UninstallString names.
constexpr const char* kUninstallProgramName = "uninstall.exe";

// The record's UninstallString: the uninstall program's full path in double quotes.
std::string UninstallCommand(const std::string& strInstallDir);

// The recorded install folder; empty when there is no record, or its value cannot be read or
// names a folder that removal must never act in (see IsProtectedFolder).
std::string RecordedInstallFolder(const std::vector<std::string>& protectedFolders);

// The recorded start menu folder; empty when there is no record or its value cannot be read.
std::string RecordedStartMenu();

// Whether the record exists: it alone marks an installation.
bool UninstallRecordExists();

// Deletes the record with all its values; nothing happens when there is none.
void RemoveUninstallRecord();
