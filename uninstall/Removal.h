// The removal of an installation, without any window: what the list names, inside the folders
// that the caller allows, under the guards of RemovalRules. The setup program's clean-up and
// Deinstall use it.
#pragma once

#include <string>
#include <vector>

#include "FileError.h"

class CInstallLog;

struct SRemovalScope
{
    // The install folder and the start menu folder that removal may act in; an empty one is left
    // alone entirely.
    std::string strInstallDir;
    std::string strMenuFolder;
    // What the installation made; a list that is not known removes only the shortcuts.
    const CInstallLog* pLog = nullptr;
    // The system and shell folders, which never go as a whole.
    std::vector<std::string> protectedFolders;
    // A file that stays with the folders that hold it: the running uninstall program, which
    // cannot delete itself and has them deleted after it ended. Empty for none.
    std::string strRunningFile;
};

// Removes the listed files and folders, puts the kept files back and deletes the list last. A
// file that cannot be deleted or put back stops it: false, with error naming the file, and the
// list still names whatever is left.
bool RemoveInstallation(const SRemovalScope& scope, CFileError& error);

// One pass over a folder: the files, or else the folders bottom up. A folder link goes as a link
// and is never entered. False when a file could not be deleted; error then names it.
bool RemoveTree(const std::string& strFolder, bool bFolderPass, CFileError& error);
