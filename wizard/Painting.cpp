#include <windows.h>

#include "AboutDlg.h"
#include "Dpi.h"
#include "PictureArea.h"
#include "ZantoSetupDlg.h"

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
    const UINT nDpi = WindowDpi(m_hWnd);

    // The licence text covers the picture area on page 1.
    if (m_nPage != 1)
    {
        // The group box grows with the dialog units, which follow the DPI; the picture with it.
        RECT rcFrame = g_rcUpperFrameUnits;
        MapDialogRect(m_hWnd, &rcFrame);
        m_picture.Draw(hDC, PictureRectInFrame(rcFrame, nDpi), nullptr);
    }

    if (IsIconic(m_hWnd))
    {
        SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0);
        const int cxIcon = SystemMetricForDpi(SM_CXICON, nDpi);
        const int cyIcon = SystemMetricForDpi(SM_CYICON, nDpi);
        RECT rc;
        GetClientRect(m_hWnd, &rc);
        const int x = (rc.right - rc.left - cxIcon + 1) / 2;
        const int y = (rc.bottom - rc.top - cyIcon + 1) / 2;
        DrawIconEx(hDC, x, y, m_hIcon, cxIcon, cyIcon, 0, nullptr, DI_NORMAL);
    }
    EndPaint(m_hWnd, &ps);
}

HCURSOR CZantoSetupDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}
