#pragma once

#include <windows.h>

#include <string>

// Pixel rectangle of a control placed at x, y with size cx, cy (dialog units,
// as written in a dialog template) in a dialog using the given font. Position
// and size are scaled separately, as dialog creation does, so the result
// matches the control's real client rectangle to the pixel. Throws CDriverError.
RECT DialogUnitsToPixels(int x, int y, int cx, int cy, const std::string& strFaceName, WORD wPointSize);
