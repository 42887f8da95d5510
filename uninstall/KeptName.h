// The names under which the installation keeps a file of the user's aside, beside it.
#pragma once

#include <string>

// Enough for any folder that a run writes into; a folder full of kept names is not ours to fill.
constexpr unsigned kMaxKeptAttempts = 100;

// The name that a file of the user's at strPath is kept under: nAttempt 1 gives
// "<name>.zanto-kept", higher ones "<name>.zanto-kept2" and so on up to kMaxKeptAttempts.
std::string KeptFilePath(const std::string& strPath, unsigned nAttempt);

// Whether strKept is one of the names KeptFilePath gives strPath: a list that names any other file
// as a kept one would move a file of somebody's choice into a place of their choice.
bool IsKeptFilePath(const std::string& strPath, const std::string& strKept);
