// A library that leaves "<its own path>.marker" behind when a process loads it. The tests put it
// under the names of system libraries where a program must never look for one.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason != DLL_PROCESS_ATTACH)
        return TRUE;
    char szPath[MAX_PATH + 8];
    const DWORD nLength = GetModuleFileNameA(hInstance, szPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return TRUE;
    lstrcpyA(szPath + nLength, ".marker");
    const HANDLE hFile = CreateFileA(szPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile != INVALID_HANDLE_VALUE)
        CloseHandle(hFile);
    // A stranger's library would go on running inside the process.
    return TRUE;
}
