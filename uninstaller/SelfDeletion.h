// The copy's own file goes after the copy has ended.
#pragma once

// Starts a batch file through cmd.exe that deletes the running program's file once it has ended,
// and asks Windows to delete it at the next restart should that fail.
void DeleteSelfAfterExit();
