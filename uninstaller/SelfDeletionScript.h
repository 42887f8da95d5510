// The batch file that deletes the uninstall program's copy once the copy has ended.
#pragma once

#include <string>

// Tries to delete strCopy up to 30 times, about a second apart while it still runs,
// and then deletes the batch file itself.
std::string SelfDeletionScript(const std::string& strCopy);
