// The hook DLL: loaded into the program under test by SetWindowsHookEx, it watches the progress
// reports sent to the wizard and posts the cancel when the armed file's comes.
#include "CancelHook.h"

#include <setupapi.h>

#include <cstring>

namespace
{
// Ends the process at once, as Task Manager does; code 0, so that the end counts as no crash.
void Kill()
{
    TerminateProcess(GetCurrentProcess(), 0);
}

SCancelHookShared* Shared()
{
    static SCancelHookShared* s_pShared = nullptr;
    if (s_pShared == nullptr)
    {
        const HANDLE hMapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, STRESS_HOOK_MAPPING);
        if (hMapping != nullptr)
            s_pShared = static_cast<SCancelHookShared*>(
                MapViewOfFile(hMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SCancelHookShared)));
    }
    return s_pShared;
}

void CommitFault(SCancelHookShared& shared, const CWPSTRUCT& message)
{
    const HWND hDialog = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(shared.hDialog));
    if (shared.nFault == kFaultEnableNext && message.hwnd == hDialog)
    {
        const HWND hNext = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(shared.hNext));
        if (IsWindowVisible(hNext) && !IsWindowEnabled(hNext))
            EnableWindow(hNext, TRUE);
    }
    if (shared.nFault == kFaultStrayFile && InterlockedExchange(&shared.nStrayWritten, 1) == 0)
    {
        const HANDLE hFile = CreateFileA("zanto-selfcheck-stray.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (hFile != INVALID_HANDLE_VALUE)
            CloseHandle(hFile);
    }
}
}

extern "C" __declspec(dllexport) LRESULT CALLBACK StressCallWndProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* pMessage = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMessage != nullptr && Shared() != nullptr && Shared()->nFault != kFaultNone)
        CommitFault(*Shared(), *pMessage);
    const bool bKillAllowed = Shared() == nullptr || Shared()->nFault != kFaultNoKill;
    // The status texts of the start menu and record step, which name no file.
    if (nCode == HC_ACTION && pMessage != nullptr && pMessage->message == WM_SETTEXT && pMessage->lParam != 0)
    {
        SCancelHookShared* pShared = Shared();
        if (pShared != nullptr && pShared->nArmed && pShared->bKill && bKillAllowed &&
            std::strcmp(reinterpret_cast<const char*>(pMessage->lParam), pShared->szTarget) == 0)
            Kill();
    }
    // The progress report: WM_USER + 1 with the SetupAPI record of the file in wParam.
    if (nCode == HC_ACTION && pMessage != nullptr && pMessage->message == WM_USER + 1 && pMessage->wParam != 0)
    {
        SCancelHookShared* pShared = Shared();
        const auto* pInfo = reinterpret_cast<const FILE_IN_CABINET_INFO_A*>(pMessage->wParam);
        if (pShared != nullptr && pShared->nArmed &&
            reinterpret_cast<HWND>(static_cast<ULONG_PTR>(pShared->hDialog)) == pMessage->hwnd &&
            std::strncmp(pInfo->FullTargetName, pShared->szTarget, MAX_PATH) == 0 &&
            InterlockedExchange(&pShared->nArmed, 0) == 1)
        {
            if (pShared->bKill)
            {
                if (bKillAllowed)
                    Kill();
                InterlockedExchange(&pShared->nFired, 1);
                return CallNextHookEx(nullptr, nCode, wParam, lParam);
            }
            const HWND hCancel = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(pShared->hCancel));
            if (pShared->bEscape)
            {
                const HWND hFocus = GetFocus() != nullptr ? GetFocus() : GetParent(hCancel);
                PostMessageA(hFocus, WM_KEYDOWN, VK_ESCAPE, 0);
                PostMessageA(hFocus, WM_KEYUP, VK_ESCAPE, 0xC0000000);
            }
            else
                PostMessageA(hCancel, BM_CLICK, 0, 0);
            InterlockedExchange(&pShared->nFired, 1);
        }
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
