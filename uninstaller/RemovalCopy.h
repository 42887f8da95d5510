// The copy of uninstall.exe below the temporary folder that does the removal: a running program
// cannot delete its own file, and uninstall.exe is one of the installation's files.
#pragma once

#include <cstdint>
#include <string>

#include "UniqueHandle.h"

// Copies the running program into a new folder of its own below the temporary folder and starts the
// copy with this process's handle and strSwitches. The copy of an interactive run waits on the
// handle; a silent run waits for the copy instead, through phCopy when given. False when either fails.
bool StartRemovalCopy(const std::string& strSwitches, CUniqueKernelObject* phCopy = nullptr);

// In the copy: waits until the original process has ended, at most a minute.
void WaitForOriginal(std::uintptr_t nOriginalProcess);

// In the copy: the full path of the original program's file; empty when it cannot be learnt.
std::string OriginalProgramFile(std::uintptr_t nOriginalProcess);
