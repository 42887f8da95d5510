#include <windows.h>

#include "AboutDlg.h"
#include "ZantoSetupDlg.h"

namespace
{
// The picture area in client pixels, whatever the size of the dialog units.
const RECT s_rcPicture = {13, 13, 493, 373};
}

bool CZantoSetupDlg::OnSysCommand(UINT nID, LPARAM)
{
    if ((nID & 0xFFF0) != IDM_ABOUTBOX)
        return false;
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
    return true;
}

void CZantoSetupDlg::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(m_hWnd, &ps);

    // The licence text covers the picture area on page 1.
    if (m_nPage != 1)
        m_picture.Draw(hDC, s_rcPicture, nullptr);

    if (IsIconic(m_hWnd))
    {
        SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0);
        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        RECT rc;
        GetClientRect(m_hWnd, &rc);
        const int x = (rc.right - rc.left - cxIcon + 1) / 2;
        const int y = (rc.bottom - rc.top - cyIcon + 1) / 2;
        DrawIcon(hDC, x, y, m_hIcon);
    }
    EndPaint(m_hWnd, &ps);
}

HCURSOR CZantoSetupDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}
