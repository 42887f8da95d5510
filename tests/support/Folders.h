// File-system helpers shared by the unit and end-to-end tests.
#pragma once

#include <string>

// Deletes a folder with everything below it, read-only files included.
void RemoveFolder(const std::string& strPath);

// A Unix path as Wine's drive Z: shows it.
std::string UnixToWindowsPath(const std::string& strUnixPath);

// The machine's common programs folder, as the program reads it from the registry.
std::string ProgramsFolder();
