// An install folder that holds, before the run, a file of the user's under every name that the
// installation writes: its own bytes, an old time, read-only, hidden or plain; and a save game.
#pragma once

#include <string>
#include <vector>

#include "CaseRun.h"

// Makes the files in run's install folder; returns the names that the installation writes too.
std::vector<std::string> MakeUsersFiles(CCaseRun& run);
