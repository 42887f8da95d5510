#include "ScreenCapture.h"

#include "DriverError.h"
#include "GdiHandles.h"

SPixelImage ReadBitmapPixels(HBITMAP hBitmap, int nWidth, int nHeight)
{
    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    bih.biWidth = nWidth;
    bih.biHeight = -nHeight;
    bih.biPlanes = 1;
    bih.biBitCount = 32;
    bih.biCompression = BI_RGB;

    SPixelImage image;
    image.m_nWidth = nWidth;
    image.m_nHeight = nHeight;
    image.m_vecPixels.resize(static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight));
    const CScreenDC screen;
    if (!screen.Get() || GetDIBits(screen.Get(), hBitmap, 0, static_cast<UINT>(nHeight), image.m_vecPixels.data(),
                                   reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS) != nHeight)
        throw CDriverError("cannot read bitmap pixels");
    for (DWORD& dwPixel : image.m_vecPixels)
        dwPixel &= 0x00FFFFFF;
    return image;
}

SPixelImage CaptureScreenRect(const RECT& rc)
{
    const int nWidth = rc.right - rc.left;
    const int nHeight = rc.bottom - rc.top;
    if (nWidth <= 0 || nHeight <= 0)
        throw CDriverError("cannot capture an empty rectangle");

    const CScreenDC screen;
    const CMemoryDC memory(screen.Get());
    const CGdiBitmap bitmap(screen.Get(), nWidth, nHeight);
    if (!screen.Get() || !memory.Get() || !bitmap.Get())
        throw CDriverError("cannot allocate a bitmap for the capture");
    {
        const CSelectObject select(memory.Get(), bitmap.Get());
        if (!BitBlt(memory.Get(), 0, 0, nWidth, nHeight, screen.Get(), rc.left, rc.top, SRCCOPY))
            throw CDriverError("cannot copy from the screen");
    }
    return ReadBitmapPixels(bitmap.Get(), nWidth, nHeight);
}

char RedOrBlueAt(HWND hWnd, int x, int y)
{
    POINT pt = {x, y};
    ClientToScreen(hWnd, &pt);
    const SPixelImage image = CaptureScreenRect(RECT{pt.x, pt.y, pt.x + 1, pt.y + 1});
    const DWORD dwPixel = image.m_vecPixels[0];
    const int r = (dwPixel >> 16) & 0xFF, g = (dwPixel >> 8) & 0xFF, b = dwPixel & 0xFF;
    if (r > 180 && g < 80 && b < 80)
        return 'r';
    if (b > 180 && r < 80 && g < 80)
        return 'b';
    return '?';
}
