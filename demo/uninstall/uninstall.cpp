// The demo's uninstall entry: removal is done by the setup program itself, so
// this only tells the player where to find it.

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr,
                L"Zanto Demo is removed by running the setup program from the installation medium "
                L"and choosing Deinstall.",
                L"Zanto Uninstall", MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
    return 0;
}
