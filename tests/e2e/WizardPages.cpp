#include "WizardPages.h"

#include "DriverError.h"
#include "Polling.h"
#include "resource.h"

const int g_anPageControls[18] = {
    IDC_INSTALL,    IDC_PLAY,         IDC_NEXT,   IDC_INSTALL_DIR, IDC_BROWSE,      IDC_DIR_FRAME,
    IDC_SPACE_INFO, IDC_PROGRESS,     IDC_STATUS, IDC_MENU_FRAME,  IDC_MENU_FOLDER, IDC_LICENSE_FRAME,
    IDC_KIND_FRAME, IDC_LICENSE_TEXT, IDC_ACCEPT, IDC_PERCENT,     IDC_KIND_1,      IDC_KIND_2,
};

int MarkerOf(int nPage)
{
    switch (nPage)
    {
    case 0:
        return IDC_INSTALL;
    case 1:
        return IDC_ACCEPT;
    case 3:
        return IDC_INSTALL_DIR;
    case 4:
        return IDC_MENU_FOLDER;
    default:
        return IDC_PROGRESS;
    }
}

int PageOf(const CWindowDriver& main)
{
    for (const int nPage : {0, 1, 3, 4, 5})
        if (main.IsVisible(MarkerOf(nPage)))
            return nPage;
    return -1;
}

void Settle(const CWindowDriver& main)
{
    DWORD_PTR dwResult = 0;
    SendMessageTimeoutA(main.GetHwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kDefaultTimeoutMs, &dwResult);
}

bool WaitForPage(const CWindowDriver& main, int nPage)
{
    if (!WaitUntil([&] { return main.IsVisible(MarkerOf(nPage)); }))
        return false;
    Settle(main);
    return true;
}

bool GoForward(const CWindowDriver& main, int nPage)
{
    if (nPage >= 4)
        throw CDriverError("Next on the start menu page installs: go on through a CInstallTarget");
    if (nPage == 0)
    {
        main.Click(IDC_INSTALL);
        return WaitForPage(main, 1);
    }
    if (nPage == 1)
    {
        // A later pass finds the box still ticked, but Next disabled: the tick is asked for again.
        if (main.GetCheck(IDC_ACCEPT) == BST_CHECKED)
        {
            main.Click(IDC_ACCEPT);
            if (!WaitUntil([&] { return main.GetCheck(IDC_ACCEPT) == BST_UNCHECKED; }))
                return false;
        }
        main.Click(IDC_ACCEPT);
        if (!WaitUntil([&] { return main.IsEnabled(IDC_NEXT); }))
            return false;
    }
    main.Click(IDC_NEXT);
    return WaitForPage(main, nPage == 1 ? 3 : nPage + 1);
}

bool WalkTo(const CWindowDriver& main, int nPage)
{
    for (int nAt = 0; nAt < nPage; nAt = nAt == 1 ? 3 : nAt + 1)
        if (!GoForward(main, nAt))
            return false;
    return true;
}

const char* Text(bool bEnglish, const char* pszEnglish, const char* pszGerman)
{
    return bEnglish ? pszEnglish : pszGerman;
}

HWND FocusOf(HWND hWindow)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(hWindow, nullptr), &info);
    return info.hwndFocus;
}

bool WaitForPostedInputHandled(const CWindowDriver& main)
{
    const HWND hEdit = main.GetControl(IDC_INSTALL_DIR);
    DWORD_PTR dwLimit = 0;
    if (!SendMessageTimeoutA(hEdit, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, kDefaultTimeoutMs, &dwLimit))
        return false;
    bool bHandled = true;
    for (const DWORD_PTR dwMarker : {dwLimit - 1, dwLimit - 2})
    {
        bHandled = bHandled && PostMessageA(hEdit, EM_SETLIMITTEXT, dwMarker, 0) && WaitUntil([&] {
                       DWORD_PTR dwNow = 0;
                       return SendMessageTimeoutA(hEdit, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, kDefaultTimeoutMs,
                                                  &dwNow) != 0 &&
                              dwNow == dwMarker;
                   });
    }
    DWORD_PTR dwIgnored = 0;
    SendMessageTimeoutA(hEdit, EM_SETLIMITTEXT, dwLimit, 0, SMTO_ABORTIFHUNG, kDefaultTimeoutMs, &dwIgnored);
    return bHandled;
}

void PressKey(HWND hTarget, UINT nKey)
{
    PostMessageA(hTarget, WM_KEYDOWN, nKey, 0);
    PostMessageA(hTarget, WM_KEYUP, nKey, 0xC0000000);
}
