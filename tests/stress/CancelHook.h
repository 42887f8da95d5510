// A message hook that clicks Cancel in the program's own thread the moment the install loop
// reports a given file to the dialog: the click is then taken at the program's very next look at
// its queue, right after that file, however fast the files go by (the status line names only some
// of them). Shared between the campaign and the hook DLL.
#pragma once

#include <windows.h>

#define STRESS_HOOK_MAPPING "ZantoStressCancelHook"
#define STRESS_HOOK_PROC "StressCallWndProc"

struct SCancelHookShared
{
    volatile LONG nArmed;      // 1 while waiting for the text
    volatile LONG nFired;      // set when the click was posted
    unsigned long long hDialog; // the wizard, which receives the progress reports
    unsigned long long hCancel; // the Cancel button
    LONG bEscape;              // Escape to the focused control instead of a click
    LONG bKill;                // end the program right there instead, as Task Manager would
    char szTarget[4096];       // the full target path of the file at which to cancel
};
