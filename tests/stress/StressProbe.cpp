// A program that misbehaves on request: the campaign's self-check shows with it that a crash, a
// hang and an odd exit code are noticed before it trusts its zero counts.
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
    DestroyWindow(hWnd);
    return std::strcmp(pszCommand, "exit3") == 0 ? 3 : 0;
}
