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

void AnswerSentMessages()
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

void PauseAnsweringSentMessages(DWORD nMilliseconds)
{
    const DWORD dwStart = GetTickCount();
    for (;;)
    {
        const DWORD dwPassed = GetTickCount() - dwStart;
        if (dwPassed >= nMilliseconds)
            return;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, nMilliseconds - dwPassed, QS_SENDMESSAGE) == WAIT_OBJECT_0)
            AnswerSentMessages();
    }
}
