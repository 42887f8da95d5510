#pragma once

#include <windows.h>

#include <string>

// Saves what the screen shows inside top-level window hWnd (frame included) as
// a 24-bit BMP file. The window must have painted and be uncovered.
// Throws CDriverError.
void SaveWindowBitmap(HWND hWnd, const std::string& strPath);
