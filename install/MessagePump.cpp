#include "MessagePump.h"

#include <windows.h>

#include "Application.h"

void PumpMessages()
{
    // The dialog's own keys keep working as in its modal loop: Escape asks to cancel.
    const HWND hDialog = AppMainWindow();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (hDialog != nullptr && IsDialogMessageA(hDialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
