#include "UninstallBox.h"

int UninstallBox(const char* pszText, UINT nType)
{
    // No window of its own stands behind the box: it comes to the front itself.
    return MessageBoxA(nullptr, pszText, "Zanto Demo", nType | MB_SETFOREGROUND);
}
