#include "ZantoSetupDlg.h"

#include "DataExchange.h"
#include "Progress.h"

HWND g_hSetupWnd = nullptr;
DWORD g_nBytesDone = 0;
DWORD g_nBytesNeeded = 0;
DWORD g_nSizeBase = 0;
DWORD g_nSizeExtra = 0;
bool g_bAbort = false;

CZantoSetupDlg::CZantoSetupDlg(HWND hParent) : CDialog(IDD_ZANTOSETUP_DIALOG, hParent)
{
    m_hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CZantoSetupDlg::~CZantoSetupDlg() = default;

void CZantoSetupDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_KIND_1, m_radioKind);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Text(pDX, IDC_STATUS, m_strStatus);
    DDX_Text(pDX, IDC_INSTALL_DIR, m_strInstallDir);
    DDX_Text(pDX, IDC_SPACE_INFO, m_strSpaceInfo);
    DDX_Text(pDX, IDC_MENU_FOLDER, m_strMenuFolder);
}

bool CZantoSetupDlg::OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    switch (uMsg)
    {
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam), lParam);
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_QUERYDRAGICON:
        lResult = reinterpret_cast<LRESULT>(OnQueryDragIcon());
        return true;
    case WM_WINDOWPOSCHANGING:
        if (m_bKeepHidden)
            reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        break;
    case WM_SILENTRUN:
        // Any program can post the number: only a silent run's own start, and only once, counts.
        if (IsSilent() && !m_bSilentRunStarted)
        {
            m_bSilentRunStarted = true;
            OnSilentRun();
        }
        return true;
    case WM_MYSETROGRESS:
        // The number is DM_SETDEFID's too, and any program can send it: only the installation's
        // own report is one.
        if (!IsOwnProgressReport(wParam))
            break;
        lResult = OnMySetProgress(wParam, lParam);
        return true;
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == IDC_INSTALL_DIR)
        {
            OnChangeInstallDir();
            return true;
        }
        if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == IDC_MENU_FOLDER)
        {
            OnChangeMenuFolder();
            return true;
        }
        if (HIWORD(wParam) != BN_CLICKED)
            break;
        // Wine's button passes BM_CLICK on while it is disabled, and any program can send the
        // command: a button that the page has disabled does nothing.
        if (const HWND hButton = GetDlgItem(LOWORD(wParam)); hButton != nullptr && !IsWindowEnabled(hButton))
            return true;
        switch (LOWORD(wParam))
        {
        case IDC_BROWSE:
            OnBrowse();
            return true;
        case IDC_INSTALL:
            OnInstall();
            return true;
        case IDC_NEXT:
            OnNext();
            return true;
        case IDC_PLAY:
            OnPlay();
            return true;
        case IDC_ACCEPT:
            OnAccept();
            return true;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return CDialog::OnMessage(uMsg, wParam, lParam, lResult);
}
