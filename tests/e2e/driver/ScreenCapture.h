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

// 'r' for a clear red, 'b' for a clear blue, '?' for anything else, at client point (x, y) of the
// window as the screen shows it: the test pictures are made of those two colours.
char RedOrBlueAt(HWND hWnd, int x, int y);
