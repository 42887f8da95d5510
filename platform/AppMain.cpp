// Entry point: hands control to the application object.
#include <windows.h>

#include "Application.h"
#include "SystemLibrary.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RestrictLibrarySearch();
    CApplication* pApp = CApplication::Instance();
    if (pApp == nullptr)
        return 0;
    pApp->InitInstance();
    return pApp->m_nExitCode;
}
