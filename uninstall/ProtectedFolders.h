// The system and shell folders of this machine that removal never takes away as a whole.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> ProtectedFolders();
