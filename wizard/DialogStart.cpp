#include <windows.h>
#include <objbase.h>

#include "KeyboardLayout.h"
#include "ProgramsFolder.h"
#include "RegistryKey.h"
#include "RunLog.h"
#include "SpracheDialog.h"
#include "TextFormat.h"
#include "Trace.h"
#include "ZantoSetupDlg.h"

namespace
{
struct SEnglishCaption
{
    int nID;
    const char* pszText;
};

// In the order they are set; the German texts are those of the dialog template.
const SEnglishCaption s_aEnglishCaptions[] = {
    {IDC_PLAY, "Play"},
    {IDC_INSTALL, "Install"},
    {IDC_NEXT, "Next"},
    {IDCANCEL, "Cancel"},
    {IDC_ACCEPT, "I accept the agreement"},
    {IDC_DIR_FRAME, "Please choose install folder"},
    {IDC_MENU_FRAME, "Please choose Startmenu folder"},
    {IDC_LICENSE_FRAME, "Confirming of the license agreement"},
    {IDC_KIND_FRAME, "Please choose kind of installation"},
};
}

BOOL CZantoSetupDlg::OnInitDialog()
{
    // COM stays initialised for the rest of the process: pictures and shortcuts need it.
    CoInitialize(nullptr);
    Trace("Setup Path = %s\n", m_szSetupDir);

    if (IsSilent())
    {
        m_bKeepHidden = true;
        // The language that the language dialog would preset, unless the command line names one.
        m_bEnglish = m_options.strLanguage.empty() ? !IsGermanKeyboardLayout() : m_options.strLanguage == "en";
    }
    else
    {
        CSpracheDialog dlgLanguage;
        dlgLanguage.DoModal();
        m_bEnglish = dlgLanguage.m_bChoseEnglish;
    }
    LogEvent("Language: %s", m_bEnglish ? "English" : "German");

    DWORD dwInputLanguage = 0;
    if (SystemParametersInfoA(SPI_GETDEFAULTINPUTLANG, 0, &dwInputLanguage, 0))
        Trace("dw=%d\n", static_cast<int>(dwInputLanguage));

    m_bDemo = true;
    ReadSetupConfig();
    m_nPage = 0;
    m_picture.LoadFile("zanto.jpg");

    CRegistryKey key;
    char szProgramFilesDir[1024];
    DWORD nSize = 1023;
    key.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", KEY_READ);
    key.QueryString(szProgramFilesDir, "ProgramFilesDir", nSize);
    key.Close();
    if (nSize != 0)
    {
        Trace("ProgrammDir = %s\n", szProgramFilesDir);
        m_strInstallDir = FormatText("%s\\%s", szProgramFilesDir, m_strProductDir.c_str());
    }
    else
    {
        m_strInstallDir = FormatText("C:\\Programme\\%s", m_strProductDir.c_str());
    }

    m_strProgramsDir = CommonProgramsFolder();

    m_strMenuFolder = "\\" + m_strProductDir;

    CDialog::OnInitDialog();

    if (m_bEnglish)
    {
        for (const SEnglishCaption& caption : s_aEnglishCaptions)
            SetDlgItemText(caption.nID, caption.pszText);
    }
    if (m_bDemo)
        SetWindowText("Zanto Demo Setup");

    ShowPage();

    HMENU hSysMenu = GetSystemMenu(m_hWnd, FALSE);
    if (hSysMenu != nullptr)
    {
        char szAboutMenu[256];
        if (LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, szAboutMenu, sizeof(szAboutMenu)) > 0)
        {
            AppendMenuA(hSysMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuA(hSysMenu, MF_STRING, IDM_ABOUTBOX, szAboutMenu);
        }
    }

    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    if (IsSilent())
    {
        // Nothing shows before the checks have passed; a refused value ends the run unseen.
        if (!PrepareSilentRun())
        {
            EndDialog(m_nExitCode);
            return TRUE;
        }
        m_bKeepHidden = m_options.eSilence == ESilence::VerySilent;
        PostMessageA(m_hWnd, WM_SILENTRUN, 0, 0);
    }
    return TRUE;
}
