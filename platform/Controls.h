// Control objects bound to a dialog's control windows by the data exchange.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CControl
{
public:
    HWND m_hWnd = nullptr;
};

class CButton : public CControl
{
};

class CProgressCtrl : public CControl
{
public:
    void SetPos(int nPos) const { SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(nPos), 0); }
};
