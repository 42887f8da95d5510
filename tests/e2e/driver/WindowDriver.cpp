#include "WindowDriver.h"

#include "DriverError.h"
#include "WindowText.h"

CWindowDriver::CWindowDriver(HWND hDlg, DWORD dwTimeoutMs)
    : m_hDlg(hDlg)
    , m_dwTimeoutMs(dwTimeoutMs)
{
}

HWND CWindowDriver::FindControl(int nId) const
{
    return GetDlgItem(m_hDlg, nId);
}

HWND CWindowDriver::GetControl(int nId) const
{
    HWND hControl = FindControl(nId);
    if (!hControl)
        throw CDriverError("dialog \"" + ReadWindowCaption(m_hDlg) + "\" has no control " + std::to_string(nId));
    return hControl;
}

std::string CWindowDriver::GetTitle() const
{
    return ReadWindowText(m_hDlg, m_dwTimeoutMs);
}

std::string CWindowDriver::GetText(int nId) const
{
    return ReadWindowText(GetControl(nId), m_dwTimeoutMs);
}

void CWindowDriver::SetText(int nId, const std::string& strText) const
{
    WriteWindowText(GetControl(nId), strText, m_dwTimeoutMs);
}

bool CWindowDriver::IsVisible(int nId) const
{
    return (GetStyle(nId) & WS_VISIBLE) != 0;
}

bool CWindowDriver::IsEnabled(int nId) const
{
    return (GetStyle(nId) & WS_DISABLED) == 0;
}

DWORD CWindowDriver::GetStyle(int nId) const
{
    return static_cast<DWORD>(GetWindowLongW(GetControl(nId), GWL_STYLE));
}

std::string CWindowDriver::GetClass(int nId) const
{
    return ReadClassName(GetControl(nId));
}

int CWindowDriver::GetCheck(int nId) const
{
    DWORD_PTR dwState = 0;
    if (!SendMessageTimeoutW(GetControl(nId), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, m_dwTimeoutMs, &dwState))
        throw CDriverError("control " + std::to_string(nId) + " did not answer BM_GETCHECK");
    return static_cast<int>(dwState);
}

void CWindowDriver::Click(int nId) const
{
    if (!PostMessageW(GetControl(nId), BM_CLICK, 0, 0))
        throw CDriverError("cannot post a click to control " + std::to_string(nId));
}

RECT CWindowDriver::GetRect(int nId) const
{
    RECT rc = {};
    if (!GetWindowRect(GetControl(nId), &rc))
        throw CDriverError("no rectangle for control " + std::to_string(nId));
    MapWindowPoints(HWND_DESKTOP, m_hDlg, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}
