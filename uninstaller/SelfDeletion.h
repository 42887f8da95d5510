// The copy's own file goes after the copy has ended.
#pragma once

// Starts cmd.exe with a command that deletes the running program's file and its folder once it
// has ended, and asks Windows to delete both at the next restart should that fail.
void DeleteSelfAfterExit();
