// A program that misbehaves on request: the campaign's self-check shows with it that a crash, a
// hang, an odd exit code and a file of the user's overwritten and not put back are noticed before
// it trusts its zero counts.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR pszCommand, int)
{
    const HWND hWnd = CreateWindowA("STATIC", "Stress probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 80,
                                    nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    if (std::strcmp(pszCommand, "crash") == 0)
    {
        volatile int* pNowhere = nullptr;
        *pNowhere = 1;
    }
    if (std::strcmp(pszCommand, "hang") == 0)
        Sleep(INFINITE);
    // As a careless installer would: the file's bytes replaced by as many others, its time kept.
    if (std::strncmp(pszCommand, "overwrite ", 10) == 0)
    {
        const HANDLE hFile = CreateFileA(pszCommand + 10, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                         nullptr);
        FILETIME ftWritten;
        GetFileTime(hFile, nullptr, nullptr, &ftWritten);
        const DWORD nSize = GetFileSize(hFile, nullptr);
        DWORD nWritten = 0;
        for (DWORD i = 0; i < nSize; ++i)
            WriteFile(hFile, "X", 1, &nWritten, nullptr);
        SetFileTime(hFile, nullptr, nullptr, &ftWritten);
        CloseHandle(hFile);
    }
    DestroyWindow(hWnd);
    return std::strcmp(pszCommand, "exit3") == 0 ? 3 : 0;
}
