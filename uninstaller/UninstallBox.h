// The uninstall program's message boxes: titled "Zanto Demo" in both languages.
#pragma once

#include <windows.h>

int UninstallBox(const char* pszText, UINT nType);
