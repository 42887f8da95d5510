// The DPI that a window is drawn at, and the pixel sizes that follow it. Windows before 10 know
// no DPI per window: there the screen's DPI holds for every window.
#pragma once

#include <windows.h>

const UINT kDefaultDpi = 96;

UINT WindowDpi(HWND hWnd);

// A system metric (SM_CXICON, ...) as it stands at that DPI.
int SystemMetricForDpi(int nIndex, UINT nDpi);

// Pixels at 96 DPI, scaled to the DPI and rounded to the nearest pixel.
inline int ScaleToDpi(int nPixels, UINT nDpi)
{
    return MulDiv(nPixels, static_cast<int>(nDpi), static_cast<int>(kDefaultDpi));
}
