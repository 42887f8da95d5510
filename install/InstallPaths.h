// Rules that decide where the installation writes: pure functions on path text.
#pragma once

#include <string>

// Whether a file name taken from the cabinet stays inside the folder it is extracted into: a
// relative path of plain names, without drive, root, "." or ".." components, device names or
// characters that Windows does not allow in names.
bool IsSafeMemberName(const std::string& strName);

// Whether the start menu folder typed on its page, joined to the programs folder without a
// separator of its own, stays there: plain names below one leading backslash, a trailing one
// allowed. Empty or a lone backslash is the programs folder itself.
bool IsSafeMenuFolder(const std::string& strMenuFolder);

// Whether a typed install folder is a full path on a local drive that removal can take apart
// again: a drive letter, a colon, a separator and at least one name, each name plain (no "." or
// "..", device names, characters that Windows forbids, trailing blank or dot). "/" counts as "\\",
// a run of separators as one, and a trailing separator is allowed.
bool IsFullLocalPath(const std::string& strFolder);

// Windows takes "/" for "\\" in a path; the path rules here know only "\\".
std::string WithBackslashes(const std::string& strPath);

// The form in which the installation uses a folder that IsFullLocalPath accepts: backslashes
// only, one between names, none at the end. Other text only has its slashes turned.
std::string InstallFolderForm(const std::string& strFolder);

// The destination folder of the files in strTreeFolder, a folder of a copied tree given relative
// to the setup directory ("en", "en\\docs"): the tree's own top folder is dropped, so
// "ger\\docs" lands in strInstallDir + "\\docs" and "en" in strInstallDir itself.
std::string TreeDestinationFolder(const std::string& strInstallDir, const std::string& strTreeFolder);
