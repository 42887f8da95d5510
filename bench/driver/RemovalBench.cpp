// removal_bench: times the removal of an installation by the setup program's Deinstall and by
// the uninstall program, each from the Yes to its question.
//
//   removal_bench setup MEDIUM INSTALL_DIR MENU_FOLDER
//       Installs from MEDIUM\ZantoSetup.exe in English and clicks Deinstall on the start page; its
//       sign of the end is the start page offering Install again.
//   removal_bench uninstall MEDIUM INSTALL_DIR MENU_FOLDER UNINSTALL_EXE
//       Installs the same way and quits the setup program, starts UNINSTALL_EXE as Windows would
//       (no command line); its sign of the end is its closing message.
// Prints two times in seconds: until the record went (both programs delete it last), and until the
// program's sign of the end. Checks that the install folder, the start menu folder and the record
// went.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "BenchWizard.h"
#include "DriverError.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "ProcessUnderTest.h"
#include "WindowFinder.h"
#include "WindowText.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
const char* const kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zanto";
const char* const kQuestion = "Do you really want to deinstall this game ?";
const char* const kRemoved = "Zanto Demo was removed from your computer.";
constexpr double kRemovalTimeoutSeconds = 900;

// Seconds from the Yes to the question.
struct STimes
{
    double dRemoved = 0; // the record gone: the removal done
    double dShown = 0;   // the program's own sign of it: the start page, or the closing message
};

bool RecordExists()
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

// A message box titled "Zanto Demo" that reads strText: the uninstall program's copy shows it.
HWND WaitForUninstallBox(const std::string& strText)
{
    const HWND hBox =
        WaitForTitledMessageBox("Zanto Demo", strText, static_cast<DWORD>(kRemovalTimeoutSeconds * 1000));
    if (hBox == nullptr)
        throw CDriverError("no box \"" + strText + "\"");
    return hBox;
}

// Installs in English through the wizard and answers the success message; page 0 stands then.
CWindowDriver InstallThroughWizard(CProcessUnderTest& process, const std::string& strMedium,
                                   const std::string& strInstallDir, const std::string& strMenuFolder)
{
    const CWindowDriver main = OpenStartMenuPage(process, strMedium, strInstallDir, strMenuFolder);
    main.Click(IDC_NEXT);
    const HWND hSuccess = WaitForMessageBoxText(process.GetPid(), "Installation successfull.", ETextMatch::Equals,
                                                static_cast<DWORD>(kRemovalTimeoutSeconds * 1000));
    if (hSuccess == nullptr)
        throw CDriverError("the installation did not succeed");
    AnswerMessageBox(hSuccess, IDOK);
    if (!WaitUntil([&] { return main.GetText(IDC_INSTALL) == "Deinstall" && main.IsEnabled(IDCANCEL); }))
        throw CDriverError("the start page did not offer Deinstall");
    Settle(main);
    return main;
}

// From the Yes: when the record went, the removal's last step (both programs delete it after
// everything else), and when the program showed that it is done (fnShown). The record is looked at
// first: the setup program's page cannot be read while it removes.
STimes TimeRemoval(double dYes, const std::function<bool()>& fnShown)
{
    STimes times;
    while (RecordExists())
    {
        if (Now() - dYes > kRemovalTimeoutSeconds)
            throw CDriverError("the record did not go");
        Sleep(1);
    }
    times.dRemoved = Now() - dYes;
    while (!fnShown())
    {
        if (Now() - dYes > kRemovalTimeoutSeconds)
            throw CDriverError("the end of the removal was not shown");
        Sleep(2);
    }
    times.dShown = Now() - dYes;
    return times;
}

STimes TimeSetupDeinstall(CProcessUnderTest& process, const CWindowDriver& main)
{
    main.Click(IDC_INSTALL);
    const HWND hQuestion = WaitForMessageBoxText(process.GetPid(), kQuestion);
    if (hQuestion == nullptr)
        throw CDriverError("no Deinstall question");
    const double dYes = Now();
    AnswerMessageBox(hQuestion, IDYES);
    const STimes times =
        TimeRemoval(dYes, [&] { return main.GetText(IDC_INSTALL) == "Install" && main.IsEnabled(IDCANCEL); });
    main.Click(IDCANCEL);
    if (!process.WaitForExit())
        process.Terminate();
    return times;
}

STimes TimeUninstallProgram(CProcessUnderTest& process, const CWindowDriver& main, const std::string& strProgram)
{
    main.Click(IDCANCEL);
    if (!process.WaitForExit())
        throw CDriverError("the setup program did not quit");
    std::string strCommand = "\"" + strProgram + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(strProgram.c_str(), &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        throw CDriverError("cannot start " + strProgram);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    const HWND hQuestion = WaitForUninstallBox(kQuestion);
    const double dYes = Now();
    AnswerMessageBox(hQuestion, IDYES);
    HWND hDone = nullptr;
    const STimes times = TimeRemoval(dYes, [&] {
        for (const HWND hBox : ListMessageBoxesTitled("Zanto Demo"))
            if (hBox != hQuestion && TryReadWindowText(GetDlgItem(hBox, kMessageBoxTextId), 1000) == std::string(kRemoved))
                hDone = hBox;
        return hDone != nullptr;
    });
    AnswerMessageBox(hDone, IDOK);
    return times;
}
}

int main(int argc, char* argv[])
{
    const std::string strMode = argc > 1 ? argv[1] : "";
    if (!((strMode == "setup" && argc == 5) || (strMode == "uninstall" && argc == 6)))
    {
        std::fprintf(stderr, "usage: removal_bench setup MEDIUM INSTALL_DIR MENU_FOLDER\n"
                             "       removal_bench uninstall MEDIUM INSTALL_DIR MENU_FOLDER UNINSTALL_EXE\n");
        return 2;
    }
    try
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
        CProcessUnderTest process;
        const CWindowDriver main = InstallThroughWizard(process, argv[2], argv[3], argv[4]);
        const STimes times =
            strMode == "setup" ? TimeSetupDeinstall(process, main) : TimeUninstallProgram(process, main, argv[5]);
        if (GetFileAttributesA(argv[3]) != INVALID_FILE_ATTRIBUTES || RecordExists())
            throw CDriverError("the install folder or the record is still there");
        std::printf("%.4f %.4f\n", times.dRemoved, times.dShown);
    }
    catch (const CDriverError& error)
    {
        std::fprintf(stderr, "removal_bench %s: %s\n", strMode.c_str(), error.what());
        return 1;
    }
    return 0;
}
