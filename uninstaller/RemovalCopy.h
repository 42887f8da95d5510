// The copy of uninstall.exe below the temporary folder that does the removal: a running program
// cannot delete its own file, and uninstall.exe is one of the installation's files.
#pragma once

#include <cstdint>

// Copies the running program into a new folder of its own below the temporary folder and starts the
// copy with this process's handle, which the copy waits on. False when either fails.
bool StartRemovalCopy();

// In the copy: waits until the original process has ended, at most a minute.
void WaitForOriginal(std::uintptr_t nOriginalProcess);
