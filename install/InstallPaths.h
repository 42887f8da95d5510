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

// Whether a typed install folder is a full local path: a drive letter, a colon, a backslash, then
// one or more plain names (no "." or "..", device names, characters Windows forbids, or a blank
// or dot at a name's end). "/" counts as "\\", and so do a trailing backslash and the doubled one
// that the folder picker gives after a drive root.
bool IsFullLocalPath(const std::string& strFolder);

// The form in which the installation takes a typed folder: "\\" only, one after the drive, none
// at the end.
std::string InstallFolderForm(const std::string& strFolder);

// The destination folder of the files in strTreeFolder, a folder of a copied tree given relative
// to the setup directory ("en", "en\\docs"): the tree's own top folder is dropped, so
// "ger\\docs" lands in strInstallDir + "\\docs" and "en" in strInstallDir itself.
std::string TreeDestinationFolder(const std::string& strInstallDir, const std::string& strTreeFolder);
