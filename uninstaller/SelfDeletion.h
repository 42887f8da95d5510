// The copy's own file goes after the copy has ended.
#pragma once

#include <string>
#include <vector>

// Starts cmd.exe with a command that deletes the running program's file and its folder once it
// has ended, and asks Windows to delete both at the next restart should that fail. With
// strOriginal, the started program's file goes too once it has ended, and then the folders that
// held it (deepest first, each only when empty).
void DeleteSelfAfterExit(const std::string& strOriginal = std::string(),
                         const std::vector<std::string>& folders = std::vector<std::string>());
