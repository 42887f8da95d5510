// A message hook that clicks Cancel in the program's own thread the moment the install loop
// reports a given file to the dialog: the click is then taken at the program's very next look at
// its queue, right after that file, however fast the files go by (the status line names only some
// of them). Shared between the campaign and the hook DLL.
#pragma once

#include <windows.h>

#define STRESS_HOOK_MAPPING "ZantoStressCancelHook"
#define STRESS_HOOK_PROC "StressCallWndProc"

// The deliberate faults that the campaign's self-check puts into the program, to show that each
// kind of case counts a program that behaves wrongly.
enum EStressFault
{
    kFaultNone,
    kFaultEnableNext, // Next is enabled whenever the wizard gets a message: any folder leads on
    kFaultNoKill,     // the planned end of the program does not happen
    kFaultStrayFile,  // a file is written into the current folder (the medium) at the start
};

struct SCancelHookShared
{
    volatile LONG nArmed;      // 1 while waiting for the text
    volatile LONG nFired;      // set when the click was posted
    unsigned long long hDialog; // the wizard, which receives the progress reports
    unsigned long long hCancel; // the Cancel button
    LONG bEscape;              // Escape to the focused control instead of a click
    LONG bKill;                // end the program right there instead, as Task Manager would
    char szTarget[4096];       // the full target path of the file at which to cancel
    LONG nFault;               // an EStressFault, while the self-check runs a wrong program
    unsigned long long hNext;  // the Next button, for kFaultEnableNext
    volatile LONG nStrayWritten;
};
