#include "WindowFinder.h"

#include "Polling.h"
#include "WindowText.h"

namespace
{

struct SEnumState
{
    DWORD m_dwPid;
    bool m_bIncludeHidden;
    std::vector<HWND> m_vecWindows;
};

BOOL CALLBACK CollectProcessWindow(HWND hWnd, LPARAM lParam)
{
    SEnumState& state = *reinterpret_cast<SEnumState*>(lParam);
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hWnd, &dwPid);
    if (dwPid == state.m_dwPid && (state.m_bIncludeHidden || IsWindowVisible(hWnd)))
        state.m_vecWindows.push_back(hWnd);
    return TRUE;
}

} // namespace

std::vector<HWND> ListProcessWindows(DWORD dwPid, bool bIncludeHidden)
{
    SEnumState state{dwPid, bIncludeHidden, {}};
    EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&state));
    return state.m_vecWindows;
}

HWND FindProcessWindow(DWORD dwPid, const WindowPredicate& fnMatch, bool bIncludeHidden)
{
    for (HWND hWnd : ListProcessWindows(dwPid, bIncludeHidden))
    {
        if (fnMatch(hWnd))
            return hWnd;
    }
    return nullptr;
}

HWND WaitForProcessWindow(DWORD dwPid, const WindowPredicate& fnMatch, DWORD dwTimeoutMs, bool bIncludeHidden)
{
    HWND hFound = nullptr;
    WaitUntil([&] { return (hFound = FindProcessWindow(dwPid, fnMatch, bIncludeHidden)) != nullptr; }, dwTimeoutMs);
    return hFound;
}

HWND WaitForWindowTitle(DWORD dwPid, const std::string& strTitle, DWORD dwTimeoutMs, bool bIncludeHidden)
{
    return WaitForProcessWindow(
        dwPid, [&](HWND hWnd) { return ReadWindowCaption(hWnd) == strTitle; }, dwTimeoutMs, bIncludeHidden);
}

HWND WaitForDialog(DWORD dwPid, const WindowPredicate& fnMatch, DWORD dwTimeoutMs, bool bIncludeHidden)
{
    return WaitForProcessWindow(
        dwPid, [&](HWND hWnd) { return IsDialogWindow(hWnd) && (!fnMatch || fnMatch(hWnd)); }, dwTimeoutMs,
        bIncludeHidden);
}

bool IsDialogWindow(HWND hWnd)
{
    return ReadClassName(hWnd) == "#32770";
}

bool WaitForWindowGone(HWND hWnd, DWORD dwTimeoutMs)
{
    return WaitUntil([hWnd] { return !IsWindow(hWnd); }, dwTimeoutMs);
}
