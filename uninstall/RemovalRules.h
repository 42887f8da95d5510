// Rules that decide what removal may touch: pure functions on path text.
#pragma once

#include <string>
#include <vector>

// The form in which two paths compare: upper case, without a trailing backslash.
std::string FolderKey(const std::string& strPath);

// A path that starts with a drive and a backslash, or a UNC server and share.
bool IsAbsolutePath(const std::string& strPath);

// Whether strPath lies below strFolder (not strFolder itself), without "." or ".." components.
bool IsInsideFolder(const std::string& strPath, const std::string& strFolder);

// Whether removal must never take strFolder away as a whole: an empty or relative path, one with
// "." or ".." components, a drive or share root, one of the system and shell folders in
// protectedFolders, or a folder that holds one of them.
bool IsProtectedFolder(const std::string& strFolder, const std::vector<std::string>& protectedFolders);

// The folders that hold strFile and that the installation made (madeFolders), deepest first,
// up to the first that it did not make; none that removal must never take away.
std::vector<std::string> MadeFoldersHolding(const std::string& strFile, const std::vector<std::string>& madeFolders,
                                            const std::vector<std::string>& protectedFolders);
