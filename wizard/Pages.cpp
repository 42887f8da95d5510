#include <windows.h>

#include <algorithm>
#include <initializer_list>

#include "DiskSpace.h"
#include "ExitCodes.h"
#include "InstallPaths.h"
#include "MessageBox.h"
#include "RunLog.h"
#include "Shortcuts.h"
#include "SystemLibrary.h"
#include "TextFormat.h"
#include "UninstallRecord.h"
#include "ZantoSetupDlg.h"

namespace
{
constexpr unsigned Pages(std::initializer_list<int> anPages)
{
    unsigned nMask = 0;
    for (int nPage : anPages)
        nMask |= 1u << nPage;
    return nMask;
}

struct SPageControl
{
    int nID;
    unsigned nShownOnPages;
};

// The controls that the pages show and hide; Cancel and the two unnamed frames stay as they are.
const SPageControl s_aPageControls[] = {
    {IDC_INSTALL, Pages({0})},
    {IDC_PLAY, Pages({0})},
    {IDC_NEXT, Pages({1, 3, 4})},
    {IDC_INSTALL_DIR, Pages({3})},
    {IDC_BROWSE, Pages({3})},
    {IDC_DIR_FRAME, Pages({3})},
    {IDC_SPACE_INFO, Pages({3})},
    {IDC_PROGRESS, Pages({5})},
    {IDC_STATUS, Pages({5})},
    {IDC_PERCENT, Pages({5})},
    {IDC_MENU_FRAME, Pages({4})},
    {IDC_MENU_FOLDER, Pages({4})},
    {IDC_LICENSE_FRAME, Pages({1})},
    {IDC_LICENSE_TEXT, Pages({1})},
    {IDC_ACCEPT, Pages({1})},
    {IDC_KIND_FRAME, 0},
    {IDC_KIND_1, 0},
    {IDC_KIND_2, 0},
};
}

void CZantoSetupDlg::ShowPage()
{
    const auto showControlsOfPage = [this](int nPage) {
        for (const SPageControl& control : s_aPageControls)
            ShowDlgItem(control.nID, (control.nShownOnPages & (1u << nPage)) != 0);
    };

    // A silent run shows the installation page only, also where the installation's end would
    // show the start page.
    if (IsSilent())
        m_nPage = 5;
    if (m_nPage == 0)
    {
        const bool bInstalled = CheckInstalled();
        SetDlgItemText(IDCANCEL, Text("Quit", "Beenden"));
        showControlsOfPage(0);
        EnableDlgItem(IDC_NEXT, true);
        SetDlgItemText(IDC_INSTALL, bInstalled ? Text("Deinstall", "Deinstallieren") : Text("Install", "Installieren"));
        EnableDlgItem(IDC_PLAY, bInstalled);
    }
    if (m_nPage == 1)
    {
        SetDlgItemText(IDCANCEL, Text("Cancel", "Abbrechen"));
        showControlsOfPage(1);
        EnableDlgItem(IDC_NEXT, false);
    }
    // The install-kind page is never shown: the wizard goes on to the folder page at once.
    if (m_nPage == 2)
        m_nPage = 3;
    if (m_nPage == 3)
    {
        m_bFullInstall = false;
        g_nBytesNeeded = AnnouncedBytes(g_nSizeBase, g_nSizeExtra);
        SetDlgItemText(IDCANCEL, Text("Cancel", "Abbrechen"));
        showControlsOfPage(3);
        EnableDlgItem(IDC_NEXT, true);
        CheckDiskSpace();
    }
    if (m_nPage == 4)
    {
        SetDlgItemText(IDCANCEL, Text("Cancel", "Abbrechen"));
        SetDlgItemText(IDC_NEXT, Text("Install", "Installieren"));
        showControlsOfPage(4);
        CheckMenuFolder();
    }
    if (m_nPage == 5)
    {
        SetDlgItemText(IDCANCEL, Text("Cancel", "Abbrechen"));
        showControlsOfPage(5);
        EnableDlgItem(IDC_NEXT, true);
    }
    // A click leaves the focus on its button. When the page hid that button, Space or Enter
    // would still press it, so the focus moves on to the next control the page offers.
    HWND hFocus = GetFocus();
    if (hFocus != nullptr && IsChild(m_hWnd, hFocus) && (GetWindowLongA(hFocus, GWL_STYLE) & WS_VISIBLE) == 0)
        SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, FALSE);
    Invalidate(true);
}

void CZantoSetupDlg::OnInstall()
{
    const std::string strCaption = GetDlgItemText(IDC_INSTALL);
    // The caption that page 0 set decides between installing and removing.
    if (strCaption == "Deinstallieren" || strCaption == "Deinstall")
    {
        // The uninstall program may have removed the installation since page 0 was shown.
        if (!UninstallRecordExists())
        {
            ShowPage();
            return;
        }
        if (AppMessageBox(Text("Do you really want to deinstall this game ?", "Wollen Sie Zanto wirklich Deinstallieren ?"),
                          MB_YESNO) != IDYES)
            return;
        m_bDeinstalling = true;
        CleanUp();
        return;
    }
    // A new run: nothing is created yet that a cancel would have to remove.
    m_installLog.Clear();
    ++m_nPage;
    ShowPage();
}

void CZantoSetupDlg::OnNext()
{
    UpdateData(true);
    // Windows takes "/" for "\" in a path, and several separators for one; the installation's own
    // path rules know only single "\", so folders typed otherwise are taken in that form.
    m_strInstallDir = InstallFolderForm(m_strInstallDir);
    std::replace(m_strMenuFolder.begin(), m_strMenuFolder.end(), '/', '\\');
    ++m_nPage;
    ShowPage();
    if (m_nPage == 5)
        DoInstall();
}

// Enter sends the OK command, which this dialog has no button for: it stands for Next where
// Next is offered, and does nothing elsewhere, so that it never ends the program unasked.
void CZantoSetupDlg::OnOK()
{
    HWND hNext = GetDlgItem(IDC_NEXT);
    if ((GetWindowLongA(hNext, GWL_STYLE) & WS_VISIBLE) != 0 && IsWindowEnabled(hNext))
        OnNext();
}

// The folder pages check what is typed as it is typed, so that Next never leads to a folder that
// the installation could not use or take away again.
void CZantoSetupDlg::OnChangeInstallDir()
{
    const std::string strTyped = GetDlgItemText(IDC_INSTALL_DIR);
    // The folder picker writes the field and checks the folder itself.
    if (m_nPage != 3 || strTyped == m_strInstallDir)
        return;
    m_strInstallDir = strTyped;
    CheckDiskSpace();
}

void CZantoSetupDlg::OnChangeMenuFolder()
{
    if (m_nPage == 4)
        CheckMenuFolder();
}

void CZantoSetupDlg::CheckMenuFolder()
{
    std::string strFolder = GetDlgItemText(IDC_MENU_FOLDER);
    std::replace(strFolder.begin(), strFolder.end(), '/', '\\');
    EnableDlgItem(IDC_NEXT, IsUsableMenuFolder(m_strProgramsDir, strFolder));
}

void CZantoSetupDlg::OnAccept()
{
    EnableDlgItem(IDC_NEXT, IsDlgButtonChecked(IDC_ACCEPT) == BST_CHECKED);
}

void CZantoSetupDlg::OnPlay()
{
    // A game that the uninstall program removed meanwhile is not started: page 0 offers Install.
    if (!CheckInstalled())
    {
        ShowPage();
        return;
    }
    const std::string strGame = FormatText("%s\\Zanto Demo.exe", m_strInstallDir.c_str());
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    const auto pShellExecute = SystemFunction<ShellExecuteFunction>("shell32.dll", "ShellExecuteA");
    if (pShellExecute != nullptr)
        pShellExecute(nullptr, "open", strGame.c_str(), nullptr, m_strInstallDir.c_str(), SW_SHOW);
    EndDialog(IDCANCEL);
}

void CZantoSetupDlg::OnCancel()
{
    // A silent run cancelled before its installation began has nothing to undo.
    if (IsSilent() && !m_bSilentRunStarted)
    {
        m_bSilentRunStarted = true;
        LogEvent("The installation was cancelled before it began");
        m_nExitCode = kExitCancelled;
        EndDialog(m_nExitCode);
        return;
    }
    if (m_nPage <= 0)
    {
        EndDialog(IDCANCEL);
        return;
    }
    if (Notify(Text("Do you really want to cancel ?", "Wollen Sie wirklich abbrechen ?"), MB_YESNO) != IDYES)
        return;
    CleanUp();
}
