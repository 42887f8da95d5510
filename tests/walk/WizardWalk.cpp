#include "WizardWalk.h"

#include <cstdio>

#include "DriverError.h"
#include "Folders.h"
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
// The installation runs in the click on Next; a slow machine may take long over it.
constexpr DWORD kInstallTimeoutMs = 60000;

const char* const kMainTitle = "Zanto Demo Setup";
// The About box keeps its template caption in both languages.
const char* const kAboutTitle = "Info \xFC" "ber ZantoSetup";
// The uninstall program titles its boxes so in both languages.
const char* const kUninstallTitle = "Zanto Demo";
const char* const kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zanto";

std::string RecordedValue(const char* pszName)
{
    char szValue[1024] = {};
    DWORD nSize = sizeof(szValue);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, pszName, RRF_RT_REG_SZ, nullptr, szValue, &nSize) !=
        ERROR_SUCCESS)
        return std::string();
    return szValue;
}

bool Exists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}
}

CWalkFolders::CWalkFolders()
{
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    char szUnique[MAX_PATH];
    if (GetTempFileNameA(szTemp, "zwk", 0, szUnique) == 0)
        throw CDriverError("no temporary name for the walk's folders");
    DeleteFileA(szUnique);
    m_strParent = szUnique;
    m_strInstallDir = m_strParent + "\\Zanto";
    // zwkXXXX.tmp: the four hexadecimal digits make the menu folder the walk's own.
    const std::string strName = m_strParent.substr(m_strParent.find_last_of('\\') + 1);
    m_strMenuFolder = "\\Zanto Walk " + strName.substr(3, strName.find('.') - 3);
    m_strMenuPath = ProgramsFolder() + m_strMenuFolder;
    if (Exists(m_strMenuPath))
        throw CDriverError("the start menu folder " + m_strMenuPath + " exists already");
}

CWalkFolders::~CWalkFolders()
{
    RemoveFolder(m_strParent);
    RemoveFolder(m_strMenuPath);
    if (RecordedValue("InstallLocation") == m_strInstallDir)
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    }
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
    WalkToStartMenuPage(main, true);
    Install(main);
    RemoveWithUninstallProgram(main);
    Reinstall(main);
    Deinstall(main);
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

void CWizardWalk::WalkToStartMenuPage(const CWindowDriver& main, bool bShots)
{
    const auto snap = [&](const char* pszStep) {
        if (bShots)
            Snap(main.GetHwnd(), pszStep);
    };
    main.Click(IDC_INSTALL);
    WaitFor("the licence page", [&] { return main.IsVisible(IDC_LICENSE_TEXT) && !main.IsVisible(IDC_INSTALL); });
    snap("licence");

    // A second walk in the same run finds the box still checked from the first, and Next off.
    if (main.GetCheck(IDC_ACCEPT) == BST_CHECKED)
    {
        main.Click(IDC_ACCEPT);
        WaitFor("the licence box unchecked", [&] { return main.GetCheck(IDC_ACCEPT) == BST_UNCHECKED; });
    }
    main.Click(IDC_ACCEPT);
    WaitFor("the accepted licence",
            [&] { return main.GetCheck(IDC_ACCEPT) == BST_CHECKED && main.IsEnabled(IDC_NEXT); });
    snap("licence-accepted");

    // Never the machine's own folders: the walk installs into folders that it removes again.
    main.Click(IDC_NEXT);
    WaitFor("the install folder page with the free space",
            [&] { return main.IsVisible(IDC_INSTALL_DIR) && !main.GetText(IDC_SPACE_INFO).empty(); });
    main.SetText(IDC_INSTALL_DIR, m_folders.InstallDir());
    snap("folder");

    main.Click(IDC_NEXT);
    WaitFor("the start menu page", [&] { return main.IsVisible(IDC_MENU_FOLDER) && !main.IsVisible(IDC_INSTALL_DIR); });
    main.SetText(IDC_MENU_FOLDER, m_folders.MenuFolder());
    snap("startmenu");
}

void CWizardWalk::Install(const CWindowDriver& main)
{
    // The cancel click waits in the queue behind Next until the installation first reads it,
    // after its first file: the question then stands over the installation page.
    main.Click(IDC_NEXT);
    main.Click(IDCANCEL);
    const std::string strQuestion = Text("Do you really want to cancel ?", "Wollen Sie wirklich abbrechen ?");
    const HWND hQuestion =
        WaitForMessageBoxText(m_process.GetPid(), strQuestion, ETextMatch::Equals, kInstallTimeoutMs);
    if (hQuestion == nullptr)
        Fail("the cancel question \"" + strQuestion + "\" during the installation", kInstallTimeoutMs);
    WaitFor("the installation page", [&] { return main.IsVisible(IDC_PROGRESS) && !main.IsVisible(IDC_MENU_FOLDER); });
    Snap(main.GetHwnd(), "installation");
    Snap(hQuestion, "cancel-question");
    AnswerMessageBox(hQuestion, IDNO);

    const std::string strSuccess = Text("Installation successfull.", "Installation erfolgreich abgeschlossen.");
    const HWND hSuccess = WaitForMessageBoxText(m_process.GetPid(), strSuccess, ETextMatch::Equals, kInstallTimeoutMs);
    if (hSuccess == nullptr)
        Fail("the message \"" + strSuccess + "\"", kInstallTimeoutMs);
    Snap(hSuccess, "success");
    AnswerMessageBox(hSuccess, IDOK);

    const std::string strDeinstall = Text("Deinstall", "Deinstallieren");
    WaitFor("the start page offering " + strDeinstall + " and Play", [&] {
        return !IsWindow(hSuccess) && main.IsVisible(IDC_INSTALL) && main.GetText(IDC_INSTALL) == strDeinstall &&
               main.IsEnabled(IDC_PLAY);
    });
    if (!Exists(m_folders.InstallDir() + "\\Zanto Demo.exe") || !Exists(m_folders.MenuPath()))
        throw CDriverError("the installation left no game in " + m_folders.InstallDir() + " or no menu in " +
                           m_folders.MenuPath());
    Snap(main.GetHwnd(), "installed");
}

void CWizardWalk::RemoveWithUninstallProgram(const CWindowDriver& main)
{
    // Started as the list of programs starts it; its copy in the temporary folder shows the boxes.
    std::string strCommand = RecordedValue("UninstallString");
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (strCommand.empty() ||
        !CreateProcessA(nullptr, &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw CDriverError("cannot start the record's UninstallString \"" + strCommand + "\"");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    const std::string strQuestion =
        Text("Do you really want to deinstall this game ?", "Wollen Sie Zanto wirklich Deinstallieren ?");
    const HWND hQuestion = WaitForTitledMessageBox(kUninstallTitle, strQuestion);
    if (hQuestion == nullptr)
        Fail("the uninstall program's question \"" + strQuestion + "\"");
    Snap(hQuestion, "uninstall-question");
    AnswerMessageBox(hQuestion, IDYES);
    const std::string strRemoved =
        Text("Zanto Demo was removed from your computer.", "Zanto Demo wurde von Ihrem Computer entfernt.");
    const HWND hRemoved = WaitForTitledMessageBox(kUninstallTitle, strRemoved, kInstallTimeoutMs);
    if (hRemoved == nullptr)
        Fail("the uninstall program's message \"" + strRemoved + "\"", kInstallTimeoutMs);
    Snap(hRemoved, "uninstall-removed");
    AnswerMessageBox(hRemoved, IDOK);
    if (!WaitForWindowGone(hRemoved))
        Fail("the uninstall program's message to close");
    if (Exists(m_folders.InstallDir()) || Exists(m_folders.MenuPath()))
        throw CDriverError("the uninstall program left " + m_folders.InstallDir() + " or " + m_folders.MenuPath());

    // The setup program still shows the start page of before; its next click finds the record gone.
    main.Click(IDC_INSTALL);
    const std::string strInstall = Text("Install", "Installieren");
    WaitFor("the start page offering " + strInstall + " after the uninstall program", [&] {
        return main.GetText(IDC_INSTALL) == strInstall && !main.IsEnabled(IDC_PLAY);
    });
}

void CWizardWalk::Reinstall(const CWindowDriver& main)
{
    WalkToStartMenuPage(main, false);
    main.Click(IDC_NEXT);
    const std::string strSuccess = Text("Installation successfull.", "Installation erfolgreich abgeschlossen.");
    const HWND hSuccess = WaitForMessageBoxText(m_process.GetPid(), strSuccess, ETextMatch::Equals, kInstallTimeoutMs);
    if (hSuccess == nullptr)
        Fail("the message \"" + strSuccess + "\" of the second installation", kInstallTimeoutMs);
    AnswerMessageBox(hSuccess, IDOK);
    const std::string strDeinstall = Text("Deinstall", "Deinstallieren");
    WaitFor("the start page offering " + strDeinstall + " again",
            [&] { return !IsWindow(hSuccess) && main.GetText(IDC_INSTALL) == strDeinstall; });
}

void CWizardWalk::Deinstall(const CWindowDriver& main)
{
    main.Click(IDC_INSTALL);
    const std::string strQuestion =
        Text("Do you really want to deinstall this game ?", "Wollen Sie Zanto wirklich Deinstallieren ?");
    const HWND hQuestion = WaitForMessageBoxText(m_process.GetPid(), strQuestion);
    if (hQuestion == nullptr)
        Fail("the question \"" + strQuestion + "\"");
    Snap(hQuestion, "deinstall-question");
    AnswerMessageBox(hQuestion, IDYES);

    const std::string strInstall = Text("Install", "Installieren");
    WaitFor("the start page offering " + strInstall + " after the removal", [&] {
        return !IsWindow(hQuestion) && main.IsVisible(IDC_INSTALL) && main.GetText(IDC_INSTALL) == strInstall &&
               !main.IsEnabled(IDC_PLAY);
    });
    if (Exists(m_folders.InstallDir()) || Exists(m_folders.MenuPath()))
        throw CDriverError("the removal left " + m_folders.InstallDir() + " or " + m_folders.MenuPath());
    Snap(main.GetHwnd(), "deinstalled");
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
