#include "BenchWizard.h"

#include <cstdlib>
#include <cstring>

#include "DriverError.h"
#include "Polling.h"
#include "WindowFinder.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
constexpr DWORD kFirstWindowTimeoutMs = 60000;
constexpr int kLanguageUpper = 1017;
constexpr int kLanguageLower = 1018;

void ChooseEnglish(DWORD dwPid)
{
    const HWND hDialog = WaitForProcessWindow(dwPid, IsLanguageDialog, kFirstWindowTimeoutMs);
    if (hDialog == nullptr)
        throw CDriverError("no language dialog");
    const CWindowDriver language(hDialog);
    // The upper button speaks the dialog's own language.
    const int nEnglish = language.GetText(kLanguageUpper) == "English" ? kLanguageUpper : kLanguageLower;
    language.Click(nEnglish);
    if (!WaitUntil([&] { return language.GetCheck(nEnglish) == BST_CHECKED; }))
        throw CDriverError("the language button was not checked");
    language.Click(IDCANCEL);
}
}

bool IsLanguageDialog(HWND hWnd)
{
    char szTitle[64] = {};
    GetWindowTextA(hWnd, szTitle, sizeof(szTitle));
    return std::strcmp(szTitle, "Choose language") == 0 || std::strcmp(szTitle, "Sprache ausw\xE4hlen") == 0;
}

double Now()
{
    static const double dFrequency = [] {
        LARGE_INTEGER nFrequency;
        QueryPerformanceFrequency(&nFrequency);
        return static_cast<double>(nFrequency.QuadPart);
    }();
    LARGE_INTEGER nCounter;
    QueryPerformanceCounter(&nCounter);
    return static_cast<double>(nCounter.QuadPart) / dFrequency;
}

CWindowDriver OpenStartMenuPage(CProcessUnderTest& process, const std::string& strMedium,
                                const std::string& strInstallDir, const std::string& strMenuFolder)
{
    // The switches that run-bench.sh's --setup-args passes on; Wine hands the variable over.
    const char* pszArguments = std::getenv("ZANTO_BENCH_SETUP_ARGS");
    process.Start(strMedium + "\\ZantoSetup.exe", strMedium, pszArguments != nullptr ? pszArguments : "");
    ChooseEnglish(process.GetPid());
    const HWND hMain = WaitForWindowTitle(process.GetPid(), "Zanto Demo Setup", kFirstWindowTimeoutMs);
    if (hMain == nullptr)
        throw CDriverError("no main window");
    const CWindowDriver main(hMain);
    if (!WalkTo(main, 3))
        throw CDriverError("the install folder page did not come");
    main.SetText(IDC_INSTALL_DIR, strInstallDir);
    if (!GoForward(main, 3))
        throw CDriverError("the start menu page did not come");
    main.SetText(IDC_MENU_FOLDER, strMenuFolder);
    if (!main.IsEnabled(IDC_NEXT))
        throw CDriverError("Next is disabled on the start menu page");
    Settle(main);
    return main;
}
