#include "MessageBox.h"

#include "Application.h"

int AppMessageBox(const char* pszText, UINT nType)
{
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONEXCLAMATION;
    return MessageBoxA(AppMainWindow(), pszText, AppTitle().c_str(), nType);
}
