// The command line by which uninstall.exe starts its copy in the temporary folder: the copy
// learns from it that it is the copy, and which process it waits for before it removes anything.
#pragma once

#include <cstdint>
#include <string>

// The arguments that hand the copy the original's process handle, as a number.
std::string CopyArguments(std::uintptr_t nOriginalProcess);

// Whether pszArguments (the command line after the program's name) are those of a copy; the
// handle's number goes to nOriginalProcess. Windows' own start has none. The switches that the
// original hands on follow the number after a blank; they go to pstrSwitches, and without it
// they make the arguments no copy's.
bool ParseCopyArguments(const char* pszArguments, std::uintptr_t& nOriginalProcess,
                        std::string* pstrSwitches = nullptr);
