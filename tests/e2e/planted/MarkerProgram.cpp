// A program that leaves "<its own path>.marker" behind when it runs. The tests put it under the
// names of commands where a program must never look for one.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char szPath[MAX_PATH + 8];
    const DWORD nLength = GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return 1;
    lstrcpyA(szPath + nLength, ".marker");
    const HANDLE hFile = CreateFileA(szPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile != INVALID_HANDLE_VALUE)
        CloseHandle(hFile);
    return 0;
}
