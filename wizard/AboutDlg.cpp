#include "AboutDlg.h"

#include "Dpi.h"

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    // The icon control, first in the template, loads the icon at 96 DPI's size; on a larger
    // scaling it gets the icon of that DPI's size, so that it grows with the texts.
    HWND hIconControl = GetWindow(m_hWnd, GW_CHILD);
    const UINT nDpi = WindowDpi(m_hWnd);
    if (hIconControl != nullptr && (GetWindowLongA(hIconControl, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
    {
        m_hIcon.reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME),
                                                    IMAGE_ICON, SystemMetricForDpi(SM_CXICON, nDpi),
                                                    SystemMetricForDpi(SM_CYICON, nDpi), LR_DEFAULTCOLOR)));
        if (m_hIcon)
            SendMessageA(hIconControl, STM_SETICON, reinterpret_cast<WPARAM>(m_hIcon.get()), 0);
    }
    return TRUE;
}
