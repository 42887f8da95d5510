// The percentage that the install loops report with each file.
#pragma once

#include <windows.h>

// nDone / (nNeeded / 100) in unsigned 32-bit arithmetic, not limited to 100. Below 100 announced
// bytes that divisor is 0: then anything done counts as 100 %.
DWORD ProgressPercent(DWORD nDone, DWORD nNeeded);
