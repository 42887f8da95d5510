// The application's message box: modal, titled with the application title.
#pragma once

#include <windows.h>

// Adds the exclamation icon unless nType names an icon of its own.
int AppMessageBox(const char* pszText, UINT nType = MB_OK);
