// The system folder, where the programs that the uninstall program starts are taken from, and
// the current folder that it and its copy work in: nobody but the administrators writes there.
#pragma once

#include <string>

// Without a trailing backslash; empty when it cannot be read.
std::string SystemFolder();

// Makes the system folder the current folder, so that nothing is found by a bare name in a folder
// of somebody else's, and no install folder is kept open.
void EnterSystemFolder();
