// Where the main window's picture stands: inside the upper group box, with margins that follow
// the DPI, so that it fills the box at every scaling.
#pragma once

#include <windows.h>

// The upper group box of the main dialog's template, in dialog units.
extern const RECT g_rcUpperFrameUnits;

// The picture's rectangle inside the group box's pixel rectangle at that DPI. At 96 DPI, with
// the template's font, it is 480 x 360 pixels at (13, 13).
RECT PictureRectInFrame(const RECT& rcFrame, UINT nDpi);
