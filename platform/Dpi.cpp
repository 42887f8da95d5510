#include "Dpi.h"

namespace
{
// Both came with Windows 10; the program also starts where they are missing.
using PGetDpiForWindow = UINT(WINAPI*)(HWND);
using PGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);

void* User32Function(const char* pszName)
{
    return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), pszName));
}

UINT ScreenDpi()
{
    HDC hDC = GetDC(nullptr);
    const int nDpi = hDC != nullptr ? GetDeviceCaps(hDC, LOGPIXELSY) : 0;
    if (hDC != nullptr)
        ReleaseDC(nullptr, hDC);
    return nDpi > 0 ? static_cast<UINT>(nDpi) : kDefaultDpi;
}
}

UINT WindowDpi(HWND hWnd)
{
    const auto pGetDpiForWindow = reinterpret_cast<PGetDpiForWindow>(User32Function("GetDpiForWindow"));
    const UINT nDpi = pGetDpiForWindow != nullptr ? pGetDpiForWindow(hWnd) : 0;
    return nDpi != 0 ? nDpi : ScreenDpi();
}

int SystemMetricForDpi(int nIndex, UINT nDpi)
{
    const auto pGetSystemMetricsForDpi =
        reinterpret_cast<PGetSystemMetricsForDpi>(User32Function("GetSystemMetricsForDpi"));
    if (pGetSystemMetricsForDpi != nullptr)
        return pGetSystemMetricsForDpi(nIndex, nDpi);
    // Without DPI per window every window stands at the screen's DPI, which GetSystemMetrics serves.
    return GetSystemMetrics(nIndex);
}
