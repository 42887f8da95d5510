// The main wizard dialog: one window whose pages show and hide the controls of template 102.
#pragma once

#include <windows.h>

#include <climits>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Controls.h"
#include "Dialog.h"
#include "InstallLog.h"
#include "Picture.h"
#include "resource.h"

// Progress report of the install loops: wParam the FILE_IN_CABINET_INFO_A of the file being
// written, lParam the percentage done.
#define WM_MYSETROGRESS (WM_USER + 1)
// Starts the installation of a silent run once the dialog's start is over.
#define WM_SILENTRUN (WM_APP + 1)

extern HWND g_hSetupWnd;
extern DWORD g_nBytesDone;
extern DWORD g_nBytesNeeded;
extern DWORD g_nSizeBase;
extern DWORD g_nSizeExtra;
extern bool g_bAbort;

// Index of the slide loaded last; -1 until the first, and never reset.
extern int g_nLastSlide;

class CZantoSetupDlg : public CDialog
{
public:
    explicit CZantoSetupDlg(HWND hParent = nullptr);
    ~CZantoSetupDlg() override;

    bool PreTranslateMessage(MSG* pMsg) override;

    // Start-up and configuration
    void ReadSetupConfig();

    // Pages
    void ShowPage();
    void CheckDiskSpace();
    // Enables Install on the start menu page only for a folder that the start menu step takes.
    void CheckMenuFolder();

    // Installation
    void DoInstall();
    bool CreateMenuAndRegistryEntries();
    bool ExtractCabinet();
    bool CopyLanguageFiles();
    bool CopySourceFiles();
    bool CopyTree(std::string strFolder);
    // False when not every shortcut was made.
    bool CreateShortcuts();
    HRESULT CreateLink(const char* pszTarget, const char* pszLink, const char* pszDescription,
                       const char* pszWorkingDir);

    // Uninstall record and removal
    bool CheckInstalled();
    // False when the record could not be stored whole.
    bool WriteUninstallRecord();
    void DeleteUninstallRecord();
    // Removes what the installation wrote and, when all of it went, the record; a file that
    // cannot be deleted stops it with its message, and the record and the list stay. After a
    // Deinstall request it acts in the recorded folders, else in those of this run.
    void CleanUp();

    // A message box; a silent run writes the text to the log instead and takes Yes (or OK) for
    // the answer. The log gets the text in every run.
    int Notify(const char* pszText, UINT nType = MB_OK);
    bool IsSilent() const { return m_options.eSilence != ESilence::None; }

    // The English text when English was chosen, else the German one.
    const char* Text(const char* pszEnglish, const char* pszGerman) const { return m_bEnglish ? pszEnglish : pszGerman; }

    char m_szSetupDir[1024] = {};
    bool m_bDemo = false;
    bool m_bEnglish = false;
    bool m_bFullInstall = false;
    CPicture m_picture;
    int m_nPage = 0;
    std::string m_strProductDir;
    std::string m_strProgramsDir;
    std::vector<std::string> m_slides;
    CButton m_radioKind;
    CProgressCtrl m_progress;
    std::string m_strStatus;
    std::string m_strInstallDir;
    std::string m_strSpaceInfo;
    std::string m_strMenuFolder;
    HICON m_hIcon = nullptr;
    // When the status line last showed a file's name, by m_pfnTickCount.
    DWORD m_dwStatusShown = 0;
    // The clock of the status line's frames; tests give their own.
    DWORD(WINAPI* m_pfnTickCount)() = GetTickCount;
    // The percentage shown last; none yet.
    int m_nShownPercent = INT_MIN;
    // What the installation of this run created, or what Deinstall found listed in the folder.
    CInstallLog m_installLog;
    // Set by the Deinstall request for the clean-up that follows it.
    bool m_bDeinstalling = false;
    // The switches of this run; none for the wizard.
    SSetupOptions m_options;
    // How a silent run ends (ExitCodes.h); the installation sets it.
    int m_nExitCode = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

    bool OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnBrowse();
    void OnInstall();
    void OnNext();
    void OnPlay();
    LRESULT OnMySetProgress(WPARAM wParam, LPARAM lParam);
    void OnAccept();
    void OnChangeInstallDir();
    void OnChangeMenuFolder();

private:
    bool CopyTreeFile(const std::string& strSource, const std::string& strDestFolder, const char* pszName);
    // Opens the run's list in the install folder before anything else is written there; a list
    // that an unfinished run left there without a record is continued.
    bool BeginInstallLog();
    // The checks of a silent run before anything is written: no installation yet, and folders
    // that pages 3 and 4 would take. False ends the run with m_nExitCode.
    bool PrepareSilentRun();
    void OnSilentRun();
    // While set, the window is never shown: a very silent run, and a silent one until its checks passed.
    bool m_bKeepHidden = false;
    // Set when a silent run's installation begins, or its cancel came first.
    bool m_bSilentRunStarted = false;
};
