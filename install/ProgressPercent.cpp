#include "ProgressPercent.h"

DWORD ProgressPercent(DWORD nDone, DWORD nNeeded)
{
    const DWORD nHundredth = nNeeded / 100;
    if (nHundredth == 0)
        return nDone > 0 ? 100 : 0;
    return nDone / nHundredth;
}
