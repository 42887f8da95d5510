#include "Dialog.h"

#include "Application.h"
#include "DataExchange.h"

CDialog::CDialog(UINT nIDTemplate, HWND hParent) : m_nIDTemplate(nIDTemplate), m_hParent(hParent)
{
}

CDialog::~CDialog()
{
    if (m_hWnd != nullptr)
        DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal()
{
    HWND hOwner = m_hParent;
    if (hOwner == nullptr && AppMainWindow() != m_hWnd)
        hOwner = AppMainWindow();

    m_bModalEnded = false;
    m_nModalResult = -1;
    if (CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate), hOwner, DialogProc,
                           reinterpret_cast<LPARAM>(this)) == nullptr)
        return -1;

    // As the system's own modal dialogs do: the owner takes no input while this one runs.
    const bool bDisabledOwner = hOwner != nullptr && IsWindowEnabled(hOwner);
    if (bDisabledOwner)
        EnableWindow(hOwner, FALSE);
    if (!m_bModalEnded && !IsWindowVisible(m_hWnd))
        ShowWindow(m_hWnd, SW_SHOWNORMAL);

    MSG msg;
    while (!m_bModalEnded)
    {
        const BOOL bResult = GetMessageA(&msg, nullptr, 0, 0);
        if (bResult <= 0)
        {
            if (bResult == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!PreTranslateMessage(&msg))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    if (bDisabledOwner)
        EnableWindow(hOwner, TRUE);
    if (hOwner != nullptr && GetActiveWindow() == m_hWnd)
        SetActiveWindow(hOwner);
    DestroyWindow(m_hWnd);
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bModalEnded = true;
    // Wakes the modal loop, which may be waiting in GetMessage.
    PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

bool CDialog::UpdateData(bool bSaveAndValidate)
{
    CDataExchange dx(m_hWnd, bSaveAndValidate);
    DoDataExchange(&dx);
    return true;
}

std::string CDialog::GetDlgItemText(int nID) const
{
    return GetWindowTextString(GetDlgItem(nID));
}

void CDialog::ShowDlgItem(int nID, bool bShow) const
{
    // Only the style flag changes; the caller repaints the whole dialog afterwards.
    HWND hItem = GetDlgItem(nID);
    const LONG nStyle = GetWindowLongA(hItem, GWL_STYLE);
    SetWindowLongA(hItem, GWL_STYLE, bShow ? (nStyle | WS_VISIBLE) : (nStyle & ~WS_VISIBLE));
}

bool CDialog::PreTranslateMessage(MSG* pMsg)
{
    return m_hWnd != nullptr && IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(true);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

bool CDialog::OnMessage(UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lResult)
{
    switch (uMsg)
    {
    case WM_INITDIALOG:
        lResult = OnInitDialog();
        return true;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
        {
            if (LOWORD(wParam) == IDOK)
            {
                OnOK();
                return true;
            }
            if (LOWORD(wParam) == IDCANCEL)
            {
                OnCancel();
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CDialog* pThis;
    if (uMsg == WM_INITDIALOG)
    {
        pThis = reinterpret_cast<CDialog*>(lParam);
        pThis->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
    }
    else
    {
        pThis = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    if (pThis == nullptr)
        return FALSE;

    const INT_PTR nResult = pThis->Dispatch(uMsg, wParam, lParam);
    if (uMsg == WM_NCDESTROY)
    {
        SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        pThis->m_hWnd = nullptr;
    }
    return nResult;
}

INT_PTR CDialog::Dispatch(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // Nothing unwinds through the window manager: the program is built without exceptions, the
    // runtime's own failures end the process, and removal reports its file error itself.
    LRESULT lResult = 0;
    if (!OnMessage(uMsg, wParam, lParam, lResult))
        return FALSE;

    switch (uMsg)
    {
    // These messages take their result as the dialog procedure's return value.
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return static_cast<INT_PTR>(lResult);
    default:
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, lResult);
        return TRUE;
    }
}
