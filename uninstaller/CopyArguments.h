// The command line by which uninstall.exe starts its copy in the temporary folder: the copy
// learns from it that it is the copy, and which process it waits for before it removes anything.
#pragma once

#include <cstdint>
#include <string>

// The arguments that hand the copy the original's process handle, as a number.
std::string CopyArguments(std::uintptr_t nOriginalProcess);

// Whether pszArguments (the command line after the program's name) are those of a copy; the
// handle's number goes to nOriginalProcess. Windows' own start has none.
bool ParseCopyArguments(const char* pszArguments, std::uintptr_t& nOriginalProcess);
