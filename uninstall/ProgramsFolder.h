// The machine's common programs folder of the start menu, where the installation's menu folder lies.
#pragma once

#include <string>

// As the registry's shell folders name it; the folder of Windows XP's German start menu when it
// cannot be read.
std::string CommonProgramsFolder();
