// The copy of uninstall.exe in the temporary folder that does the removal: a running program
// cannot delete its own file, and uninstall.exe is one of the installation's files.
#pragma once

#include <cstdint>

// Copies the running program into the temporary folder under a name of its own and starts the
// copy with this process's handle, which the copy waits on. False when either fails.
bool StartRemovalCopy();

// In the copy: waits until the original process has ended, at most a minute.
void WaitForOriginal(std::uintptr_t nOriginalProcess);
