// The folder below the temporary folder that the uninstall program's copy runs from: every user
// may write into the temporary folder, and a program is looked for beside the running one first.
#pragma once

#include <string>

// Only SYSTEM and the Administrators may write into the folder or delete in it; users may read
// and run what it holds. Inherited by what is made in it.
constexpr const char* kProtectedFolderSddl = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;GRGX;;;BU)";

// "ZantoUninstall-" and the bytes in hexadecimal digits.
std::string ProtectedFolderName(const unsigned char* pbRandom, size_t nBytes);

// A new folder below strParent (which ends with a backslash) under a name from the system's random
// source, made with kProtectedFolderSddl. Its path with a trailing backslash, or empty.
std::string MakeProtectedFolder(const std::string& strParent);
