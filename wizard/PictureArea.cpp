#include "PictureArea.h"

#include "Dpi.h"

const RECT g_rcUpperFrameUnits = {4, 0, 334, 235};

namespace
{
// The picture's distance from the group box's edges at 96 DPI; the top one clears the box's line.
const RECT s_rcMarginsAt96 = {7, 13, 8, 9};
}

RECT PictureRectInFrame(const RECT& rcFrame, UINT nDpi)
{
    return RECT{rcFrame.left + ScaleToDpi(s_rcMarginsAt96.left, nDpi),
                rcFrame.top + ScaleToDpi(s_rcMarginsAt96.top, nDpi),
                rcFrame.right - ScaleToDpi(s_rcMarginsAt96.right, nDpi),
                rcFrame.bottom - ScaleToDpi(s_rcMarginsAt96.bottom, nDpi)};
}
