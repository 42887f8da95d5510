// The batch file that deletes the uninstall program's copy once the copy has ended.
#pragma once

#include <string>

#include <vector>

// Tries to delete strCopy and strOriginal (when not empty) up to 30 times, about a second apart
// while they still run, then removes the folders (deepest first; one that is not empty stays)
// and deletes the batch file itself.
std::string SelfDeletionScript(const std::string& strCopy, const std::string& strOriginal = std::string(),
                               const std::vector<std::string>& folders = std::vector<std::string>());
