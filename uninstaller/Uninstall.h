// What the uninstall program does once it runs where it may remove the installation.
#pragma once

#include <string>
#include <vector>

// Asks the Deinstall question in the installation's language and removes what the setup
// program's Deinstall removes, the record last; says when nothing is installed. A silent run asks
// nothing and writes what it would say to the log. It leaves strRunningFile, the started
// program's own file, and the folders that hold it, which go after that program has ended:
// leftFolders gets those that the installation made, deepest first. Returns the exit code.
int Uninstall(bool bSilent, const std::string& strRunningFile, std::vector<std::string>& leftFolders);
