// The command that deletes the uninstall program's copy and its folder once the copy has ended.
#pragma once

#include <string>
#include <vector>

// cmd's command line after "/c": up to 30 rounds, about a second apart while the copy still runs,
// each of which removes the copy's folder once it is empty and otherwise tries to delete strCopy.
// With strOriginal (the started program of a silent run, which ends after the copy), up to 30
// more rounds for that file in the same way, and then the folders, each only when empty.
// Everything it starts has its full path in strSystemFolder: a command found by a bare name would
// be looked for in the current folder first. No batch file: cmd holds one open while it runs, so
// that its folder could not go with it.
std::string SelfDeletionCommand(const std::string& strCopy, const std::string& strSystemFolder,
                                const std::string& strOriginal = std::string(),
                                const std::vector<std::string>& folders = std::vector<std::string>());
