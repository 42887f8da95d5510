#include <gtest/gtest.h>

#include <windows.h>

#include "PictureArea.h"

namespace
{
struct SPictureAreaCase
{
    UINT nDpi;
    RECT rcFrame;
    RECT rcExpected;
};

// The group box as "MS Sans Serif" 8 pt lays it out at each DPI (6 x 13 pixel dialog units at
// 96 DPI, 9 x 20 at 144, 12 x 26 at 192), and where the picture must stand in it.
const SPictureAreaCase s_aCases[] = {
    {96, {6, 0, 501, 382}, {13, 13, 493, 373}},
    {120, {8, 0, 625, 478}, {17, 16, 615, 467}},
    {144, {9, 0, 752, 588}, {20, 20, 740, 574}},
    {192, {12, 0, 1002, 764}, {26, 26, 986, 746}},
};
}

TEST(PictureAreaTest, PictureKeepsItsMarginsInTheGroupBoxAtEveryDpi)
{
    for (const SPictureAreaCase& c : s_aCases)
    {
        const RECT rc = PictureRectInFrame(c.rcFrame, c.nDpi);
        EXPECT_EQ(c.rcExpected.left, rc.left) << c.nDpi << " DPI";
        EXPECT_EQ(c.rcExpected.top, rc.top) << c.nDpi << " DPI";
        EXPECT_EQ(c.rcExpected.right, rc.right) << c.nDpi << " DPI";
        EXPECT_EQ(c.rcExpected.bottom, rc.bottom) << c.nDpi << " DPI";
    }
}

// The frame's place in the template, mapped as the dialog maps it: at 96 DPI this is the picture
// of 480 x 360 pixels at (13, 13) that the window has always shown.
TEST(PictureAreaTest, TemplateFrameAt96DpiGivesTheClassicRectangle)
{
    RECT rcFrame = g_rcUpperFrameUnits;
    rcFrame = {MulDiv(rcFrame.left, 6, 4), MulDiv(rcFrame.top, 13, 8), MulDiv(rcFrame.right, 6, 4),
               MulDiv(rcFrame.bottom, 13, 8)};
    const RECT rc = PictureRectInFrame(rcFrame, 96);
    EXPECT_EQ(480, rc.right - rc.left);
    EXPECT_EQ(360, rc.bottom - rc.top);
    EXPECT_EQ(13, rc.left);
    EXPECT_EQ(13, rc.top);
}
