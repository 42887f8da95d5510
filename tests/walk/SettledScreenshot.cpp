#include "SettledScreenshot.h"

#include "DriverError.h"
#include "ScreenCapture.h"
#include "Screenshot.h"

#include <cstdio>

namespace
{
// The program repaints after the change the walk waited for; two equal captures
// this far apart mean it has finished.
constexpr DWORD kFirstLookMs = 300;
constexpr DWORD kCompareGapMs = 150;

SPixelImage CaptureWindow(HWND hWnd)
{
    RECT rc = {};
    if (!GetWindowRect(hWnd, &rc))
        throw CDriverError("the window to capture is gone");
    return CaptureScreenRect(rc);
}

bool SamePicture(const SPixelImage& a, const SPixelImage& b)
{
    return a.m_nWidth == b.m_nWidth && a.m_nHeight == b.m_nHeight && a.m_vecPixels == b.m_vecPixels;
}
} // namespace

void SaveSettledWindowBitmap(HWND hWnd, const std::string& strPath, DWORD dwTimeoutMs)
{
    Sleep(kFirstLookMs);
    const DWORD dwStart = GetTickCount();
    SPixelImage previous = CaptureWindow(hWnd);
    bool bSettled = false;
    while (!bSettled && GetTickCount() - dwStart < dwTimeoutMs)
    {
        Sleep(kCompareGapMs);
        SPixelImage current = CaptureWindow(hWnd);
        bSettled = SamePicture(previous, current);
        previous = std::move(current);
    }
    if (!bSettled)
        std::fprintf(stderr, "warning: %s was still changing after %lu ms\n", strPath.c_str(), dwTimeoutMs);
    SaveWindowBitmap(hWnd, strPath);
}
