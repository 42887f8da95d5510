#include "SystemFolder.h"

#include <windows.h>

std::string SystemFolder()
{
    char szSystem[MAX_PATH];
    const UINT nLength = GetSystemDirectoryA(szSystem, sizeof(szSystem));
    return nLength > 0 && nLength < sizeof(szSystem) ? std::string(szSystem, nLength) : std::string();
}

void EnterSystemFolder()
{
    const std::string strSystem = SystemFolder();
    if (!strSystem.empty())
        SetCurrentDirectoryA(strSystem.c_str());
}
