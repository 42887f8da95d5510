#pragma once

#include <windows.h>

#include <string>

// Saves top-level window hWnd as a BMP (SaveWindowBitmap) once its picture on
// screen has stopped changing, so a page is never caught half painted. A
// window that keeps changing for dwTimeoutMs is saved as it is then, with a
// warning. Throws CDriverError.
void SaveSettledWindowBitmap(HWND hWnd, const std::string& strPath, DWORD dwTimeoutMs = 5000);
