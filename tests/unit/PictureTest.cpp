#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>

#include "Picture.h"
#include "TestPictures.h"

namespace
{
// A white memory surface that the picture is drawn into at (13, 13) - (493, 373).
class PictureTest : public testing::Test
{
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        m_hDC = CreateCompatibleDC(nullptr);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = 520;
        bmi.bmiHeader.biHeight = -400;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        m_hBitmap = CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, nullptr, nullptr, 0);
        m_hOld = SelectObject(m_hDC, m_hBitmap);
        Clear();
    }
    void TearDown() override
    {
        SelectObject(m_hDC, m_hOld);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hDC);
        CoUninitialize();
    }
    void Clear()
    {
        RECT rc = {0, 0, 520, 400};
        FillRect(m_hDC, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    void Draw(const CPicture& picture)
    {
        const RECT rc = {13, 13, 493, 373};
        EXPECT_TRUE(picture.Draw(m_hDC, rc, nullptr));
    }
    // The dominant colour channel of a pixel: 'r', 'b', 'w' (white) or '?'.
    char ColourAt(int x, int y) const
    {
        const COLORREF cr = GetPixel(m_hDC, x, y);
        const int r = GetRValue(cr), g = GetGValue(cr), b = GetBValue(cr);
        if (r > 200 && g > 200 && b > 200)
            return 'w';
        if (r > 180 && g < 80 && b < 80)
            return 'r';
        if (b > 180 && r < 80 && g < 80)
            return 'b';
        return '?';
    }
    void ExpectHalvesFillTheRectangle()
    {
        EXPECT_EQ('r', ColourAt(14, 14));
        EXPECT_EQ('r', ColourAt(491, 14));
        EXPECT_EQ('r', ColourAt(250, 185)) << "upper half red: drawn upright";
        EXPECT_EQ('b', ColourAt(250, 200));
        EXPECT_EQ('b', ColourAt(14, 371));
        EXPECT_EQ('b', ColourAt(491, 371));
        EXPECT_EQ('w', ColourAt(12, 12)) << "nothing outside the rectangle";
        EXPECT_EQ('w', ColourAt(494, 200));
        EXPECT_EQ('w', ColourAt(250, 374));
    }

    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
};
}

TEST_F(PictureTest, LandscapePictureFillsTheRectangleUpright)
{
    CPicture picture;
    ASSERT_TRUE(picture.LoadFile(TestPicturePath("halves640x480.jpg").c_str()));
    Draw(picture);
    ExpectHalvesFillTheRectangle();
}

TEST_F(PictureTest, SquarePictureIsStretchedOutOfProportion)
{
    CPicture picture;
    ASSERT_TRUE(picture.LoadFile(TestPicturePath("halves400x400.jpg").c_str()));
    Draw(picture);
    ExpectHalvesFillTheRectangle();
}

TEST_F(PictureTest, ReportsItsSizeInHimetric)
{
    CPicture picture;
    ASSERT_TRUE(picture.LoadFile(TestPicturePath("halves640x480.jpg").c_str()));
    OLE_XSIZE_HIMETRIC nWidth;
    OLE_YSIZE_HIMETRIC nHeight;
    picture.SizeInHimetric(nWidth, nHeight);
    EXPECT_NEAR(16933, nWidth, 2);
    EXPECT_NEAR(12700, nHeight, 2);
}

TEST_F(PictureTest, MissingFileKeepsThePictureHeldBefore)
{
    CPicture picture;
    ASSERT_TRUE(picture.LoadFile(TestPicturePath("halves640x480.jpg").c_str()));
    EXPECT_FALSE(picture.LoadFile(TestPicturePath("missing.jpg").c_str()));
    EXPECT_FALSE(picture.IsEmpty());
    Draw(picture);
    ExpectHalvesFillTheRectangle();
}

TEST_F(PictureTest, UndecodableFileEmptiesTheHolder)
{
    CPicture picture;
    ASSERT_TRUE(picture.LoadFile(TestPicturePath("halves640x480.jpg").c_str()));
    EXPECT_TRUE(picture.LoadFile(TestPicturePath("broken.jpg").c_str()));
    EXPECT_TRUE(picture.IsEmpty());
    Draw(picture);
    EXPECT_EQ('w', ColourAt(250, 100));
}

TEST_F(PictureTest, EmptyHolderDrawsNothing)
{
    CPicture picture;
    Draw(picture);
    EXPECT_EQ('w', ColourAt(250, 100));
    OLE_XSIZE_HIMETRIC nWidth = 1;
    OLE_YSIZE_HIMETRIC nHeight = 1;
    picture.SizeInHimetric(nWidth, nHeight);
    EXPECT_EQ(0, nWidth);
    EXPECT_EQ(0, nHeight);
}

TEST_F(PictureTest, ReloadingReplacesThePicture)
{
    CPicture picture;
    ASSERT_TRUE(picture.LoadFile(TestPicturePath("halves640x480.jpg").c_str()));
    ASSERT_TRUE(picture.LoadFile(TestPicturePath("halves400x400.jpg").c_str()));
    OLE_XSIZE_HIMETRIC nWidth;
    OLE_YSIZE_HIMETRIC nHeight;
    picture.SizeInHimetric(nWidth, nHeight);
    EXPECT_EQ(nWidth, nHeight) << "the square picture is held now";
}
