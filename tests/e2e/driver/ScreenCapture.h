#pragma once

#include <windows.h>

#include <vector>

// Pixels as 0x00RRGGBB, top row first.
struct SPixelImage
{
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<DWORD> m_vecPixels;
};

// Reads a bitmap that is not selected into any DC. Throws CDriverError.
SPixelImage ReadBitmapPixels(HBITMAP hBitmap, int nWidth, int nHeight);

// What the screen shows in rc (screen coordinates). Throws CDriverError.
SPixelImage CaptureScreenRect(const RECT& rc);
