#include "WizardWalk.h"

#include <cstdio>

#include "DriverError.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "SettledScreenshot.h"
#include "WindowFinder.h"
#include "WindowText.h"
#include "resource.h"

namespace
{
// The first window of a fresh process can take long under Wine, the more so in a new prefix.
constexpr DWORD kFirstWindowTimeoutMs = 60000;
constexpr DWORD kMainWindowTimeoutMs = 30000;

const char* const kMainTitle = "Zanto Demo Setup";
// The About box keeps its template caption in both languages.
const char* const kAboutTitle = "Info \xFC" "ber ZantoSetup";
}

CWizardWalk::CWizardWalk(const std::string& strMedium, const std::string& strOutput, bool bEnglish)
    : m_strMedium(strMedium)
    , m_strOutput(strOutput)
    , m_bEnglish(bEnglish)
{
}

void CWizardWalk::Run()
{
    m_process.Start(m_strMedium + "\\ZantoSetup.exe", m_strMedium);
    ChooseLanguage();
    const CWindowDriver main = WaitForStartPage();
    Snap(main.GetHwnd(), "start");
    WalkToInstallationPage(main);
    CancelInstallation(main);
    ShowAbout(main);
    Quit(main);
}

void CWizardWalk::ChooseLanguage()
{
    const HWND hDlg = WaitForProcessWindow(
        m_process.GetPid(),
        [](HWND hWnd) {
            const std::string strTitle = ReadWindowCaption(hWnd);
            return strTitle == "Sprache ausw\xE4hlen" || strTitle == "Choose language";
        },
        kFirstWindowTimeoutMs);
    if (hDlg == nullptr)
        Fail("the language dialog", kFirstWindowTimeoutMs);
    const CWindowDriver language(hDlg);
    Snap(hDlg, "language");

    // The upper button speaks the dialog's own language: English unless the layout is German.
    const bool bUpperIsEnglish = language.GetText(IDC_LANG_GERMAN) == "English";
    const int nChoice = bUpperIsEnglish == m_bEnglish ? IDC_LANG_GERMAN : IDC_LANG_ENGLISH;
    language.Click(nChoice);
    WaitFor("the language choice", [&] { return language.GetCheck(nChoice) == BST_CHECKED; });
    language.Click(IDCANCEL);
}

CWindowDriver CWizardWalk::WaitForStartPage()
{
    const HWND hMain = WaitForWindowTitle(m_process.GetPid(), kMainTitle, kMainWindowTimeoutMs);
    if (hMain == nullptr)
        Fail("the main window \"" + std::string(kMainTitle) + "\"", kMainWindowTimeoutMs);
    const CWindowDriver main(hMain);
    WaitFor("the start page", [&] { return main.IsVisible(IDC_INSTALL); });
    const std::string strInstall = main.GetText(IDC_INSTALL);
    if (strInstall != Text("Install", "Installieren"))
        throw CDriverError("the start page offers \"" + strInstall +
                           "\" instead of Install: this Wine prefix records an earlier installation under "
                           "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zanto");
    return main;
}

void CWizardWalk::WalkToInstallationPage(const CWindowDriver& main)
{
    main.Click(IDC_INSTALL);
    WaitFor("the licence page", [&] { return main.IsVisible(IDC_LICENSE_TEXT) && !main.IsVisible(IDC_INSTALL); });
    Snap(main.GetHwnd(), "licence");

    main.Click(IDC_ACCEPT);
    WaitFor("the accepted licence",
            [&] { return main.GetCheck(IDC_ACCEPT) == BST_CHECKED && main.IsEnabled(IDC_NEXT); });
    Snap(main.GetHwnd(), "licence-accepted");

    main.Click(IDC_NEXT);
    WaitFor("the install folder page with the free space",
            [&] { return main.IsVisible(IDC_INSTALL_DIR) && !main.GetText(IDC_SPACE_INFO).empty(); });
    Snap(main.GetHwnd(), "folder");

    main.Click(IDC_NEXT);
    WaitFor("the start menu page", [&] { return main.IsVisible(IDC_MENU_FOLDER) && !main.IsVisible(IDC_INSTALL_DIR); });
    Snap(main.GetHwnd(), "startmenu");

    main.Click(IDC_NEXT);
    WaitFor("the installation page", [&] { return main.IsVisible(IDC_PROGRESS) && !main.IsVisible(IDC_MENU_FOLDER); });
    Snap(main.GetHwnd(), "installation");
}

void CWizardWalk::CancelInstallation(const CWindowDriver& main)
{
    main.Click(IDCANCEL);
    const std::string strQuestion = Text("Do you really want to cancel ?", "Wollen Sie wirklich abbrechen ?");
    const HWND hBox = WaitForMessageBoxText(m_process.GetPid(), strQuestion);
    if (hBox == nullptr)
        Fail("the cancel question \"" + strQuestion + "\"");
    Snap(hBox, "cancel-question");
    AnswerMessageBox(hBox, IDYES);
    WaitFor("the start page after the cancel",
            [&] { return !IsWindow(hBox) && main.IsVisible(IDC_INSTALL) && !main.IsVisible(IDC_PROGRESS); });
}

void CWizardWalk::ShowAbout(const CWindowDriver& main)
{
    PostMessageA(main.GetHwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    const HWND hAbout = WaitForWindowTitle(m_process.GetPid(), kAboutTitle);
    if (hAbout == nullptr)
        Fail("the About box \"" + std::string(kAboutTitle) + "\"");
    Snap(hAbout, "about");
    CWindowDriver(hAbout).Click(IDOK);
    if (!WaitForWindowGone(hAbout))
        Fail("the About box to close");
}

void CWizardWalk::Quit(const CWindowDriver& main)
{
    main.Click(IDCANCEL);
    if (!m_process.WaitForExit())
        Fail("the end of the program after Quit");
    const DWORD dwExitCode = m_process.GetExitCode();
    if (dwExitCode != 0)
        throw CDriverError("the program ended with exit code " + std::to_string(dwExitCode) + " after Quit");
}

void CWizardWalk::Snap(HWND hWnd, const char* pszStep)
{
    const std::string strName = Text("en-", "de-") + std::to_string(m_nStep++) + "-" + pszStep + ".bmp";
    SaveSettledWindowBitmap(hWnd, m_strOutput + "\\" + strName);
    std::printf("saved %s\n", strName.c_str());
    std::fflush(stdout);
}

void CWizardWalk::WaitFor(const std::string& strWhat, const std::function<bool()>& fnCondition, DWORD dwTimeoutMs)
{
    if (!WaitUntil(fnCondition, dwTimeoutMs))
        Fail(strWhat, dwTimeoutMs);
}

void CWizardWalk::Fail(const std::string& strWhat, DWORD dwTimeoutMs)
{
    std::string strMessage = "waited " + std::to_string(dwTimeoutMs / 1000) + " s in vain for " + strWhat;
    if (!m_process.IsRunning())
        strMessage += "; the program has ended with exit code " + std::to_string(m_process.GetExitCode());
    const std::string strBoxes = DescribeMessageBoxes(m_process.GetPid());
    if (!strBoxes.empty())
        strMessage += "; " + strBoxes;
    throw CDriverError(strMessage);
}
