// bench_driver: the parts of the benchmark that run under Wine and need a Windows process.
//
//   bench_driver install MEDIUM INSTALL_DIR MENU_FOLDER PROBE_FILE
//       Runs MEDIUM\ZantoSetup.exe in English, walks its wizard to the start menu page with the
//       folders given, clicks Next (the installation runs in that click) and waits for the success
//       message. Prints on one line the seconds from the click to the message (full), to the work
//       done (work: the bar at 100 % and the status line's "Installation finished.", before the
//       pause that precedes the message), to the first file of the cabinet (the language tree's
//       step: the start of the list and the language tree), and from the start menu step to the
//       work done (the shortcuts and the record). Writes the answer times of the responsiveness
//       probe during the full time (ms, one a line) to PROBE_FILE. Then answers the message,
//       quits the program and removes the start menu folder and the uninstall record. The
//       install folder is left for the caller to check and remove.
//   bench_driver startup FOLDER COUNT
//       Starts FOLDER\ZantoSetup.exe COUNT times after two warm-up starts and prints, one a line,
//       the seconds from CreateProcess to the language dialog being visible.
//   bench_driver run PROGRAM [ARGUMENTS...]
//       Runs PROGRAM and prints the seconds from CreateProcess to its end; exits with its exit code.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "DriverError.h"
#include "Folders.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "ProcessUnderTest.h"
#include "BenchWizard.h"
#include "ResponsivenessProbe.h"
#include "WindowFinder.h"
#include "WorkProbe.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
const char* const kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zanto";
const char* const kSuccessMessage = "Installation successfull.";
constexpr DWORD kFirstWindowTimeoutMs = 60000;
constexpr double kInstallTimeoutSeconds = 900;
constexpr DWORD kRunTimeoutMs = 900000;
// Cheap enough not to slow the installation down, fine enough for runs of a second and more.
constexpr DWORD kBoxPollMs = 2;

std::string ProgramsFolder()
{
    char szFolder[MAX_PATH] = {};
    DWORD nSize = sizeof(szFolder);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     "Common Programs", RRF_RT_REG_SZ, nullptr, szFolder, &nSize) != ERROR_SUCCESS)
        throw CDriverError("no common programs folder in the registry");
    return szFolder;
}

// Left over, the record would turn the start page's Install into Deinstall.
void DeleteUninstallRecord()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
}

// The first visible message box of the process. The program disables its window while a box of
// its own is open, so the boxes are looked for only then, and now and then to be safe.
HWND WaitForBox(CProcessUnderTest& process, HWND hMain, double dStart)
{
    for (unsigned nPoll = 0;; ++nPoll)
    {
        if (!IsWindowEnabled(hMain) || nPoll % 50 == 0)
        {
            const std::vector<HWND> boxes = ListMessageBoxes(process.GetPid());
            if (!boxes.empty())
                return boxes.front();
        }
        if (!process.IsRunning())
            throw CDriverError("ZantoSetup.exe ended during the installation");
        if (Now() - dStart > kInstallTimeoutSeconds)
            throw CDriverError("no message box after the installation's time limit");
        Sleep(kBoxPollMs);
    }
}

int Install(const std::string& strMedium, const std::string& strInstallDir, const std::string& strMenuFolder,
            const std::string& strProbeFile)
{
    DeleteUninstallRecord();
    CProcessUnderTest process;
    const CWindowDriver main = OpenStartMenuPage(process, strMedium, strInstallDir, strMenuFolder);
    const HWND hMain = main.GetHwnd();

    CResponsivenessProbe probe(hMain);
    CWorkProbe work(hMain, strInstallDir, FilesBelow(strMedium + "\\en"));
    const double dClick = Now();
    main.Click(IDC_NEXT);
    probe.Start();
    work.Start();
    const HWND hBox = WaitForBox(process, hMain, dClick);
    const double dBox = Now();
    probe.Stop(dBox);
    work.Stop();

    const std::string strText = ReadMessageBoxText(hBox);
    if (strText != kSuccessMessage)
        throw CDriverError("the installation ended with the message \"" + strText + "\"");
    if (work.CabinetSeen() == 0 || work.MenuSeen() == 0 || work.FinishedSeen() == 0)
        throw CDriverError("the status line did not show every step");
    std::printf("%.4f %.4f %.4f %.4f\n", dBox - dClick, work.FinishedSeen() - dClick, work.CabinetSeen() - dClick,
                work.FinishedSeen() - work.MenuSeen());

    FILE* pProbes = std::fopen(strProbeFile.c_str(), "wb");
    if (pProbes == nullptr)
        throw CDriverError("cannot write " + strProbeFile);
    for (const double dMs : probe.AnswerTimesMs())
        std::fprintf(pProbes, "%.3f\n", dMs);
    std::fclose(pProbes);

    AnswerMessageBox(hBox, IDOK);
    if (WaitForPage(main, 0))
        main.Click(IDCANCEL);
    if (!process.WaitForExit())
        process.Terminate();
    RemoveFolder(ProgramsFolder() + strMenuFolder);
    DeleteUninstallRecord();
    return 0;
}

int Startup(const std::string& strFolder, int nCount)
{
    constexpr int kWarmUps = 2;
    const std::wstring strExe = L"ZantoSetup.exe";
    const std::string strExePath = strFolder + "\\ZantoSetup.exe";
    for (int nRun = 0; nRun < kWarmUps + nCount; ++nRun)
    {
        std::string strCommand = "\"" + strExePath + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        const double dStart = Now();
        if (!CreateProcessA(strExePath.c_str(), &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr,
                            strFolder.c_str(), &si, &pi))
            throw CDriverError("cannot start " + strExePath);
        HWND hDialog = nullptr;
        while ((hDialog = FindProcessWindow(pi.dwProcessId, IsLanguageDialog)) == nullptr &&
               Now() - dStart < kFirstWindowTimeoutMs / 1000.0)
            Sleep(1);
        const double dShown = Now();
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        if (hDialog == nullptr)
            throw CDriverError("no language dialog");
        if (nRun >= kWarmUps)
            std::printf("%.4f\n", dShown - dStart);
        std::fflush(stdout);
        // The ended process's windows and its wineserver state go before the next start.
        Sleep(300);
    }
    return 0;
}

int Run(int argc, char* argv[])
{
    std::string strCommand = std::string("\"") + argv[0] + "\"";
    for (int nArg = 1; nArg < argc; ++nArg)
        strCommand += std::string(" ") + argv[nArg];
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const double dStart = Now();
    if (!CreateProcessA(argv[0], &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        throw CDriverError(std::string("cannot start ") + argv[0]);
    const DWORD dwWait = WaitForSingleObject(pi.hProcess, kRunTimeoutMs);
    const double dEnd = Now();
    DWORD dwExitCode = 1;
    if (dwWait != WAIT_OBJECT_0)
    {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 10000);
    }
    GetExitCodeProcess(pi.hProcess, &dwExitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (dwWait != WAIT_OBJECT_0)
        throw CDriverError(std::string(argv[0]) + " did not end in time");
    std::printf("%.4f\n", dEnd - dStart);
    return static_cast<int>(dwExitCode);
}
}

int main(int argc, char* argv[])
{
    const std::string strMode = argc > 1 ? argv[1] : "";
    try
    {
        if (strMode == "install" && argc == 6)
            return Install(argv[2], argv[3], argv[4], argv[5]);
        if (strMode == "startup" && argc == 4 && std::atoi(argv[3]) > 0)
            return Startup(argv[2], std::atoi(argv[3]));
        if (strMode == "run" && argc >= 3)
            return Run(argc - 2, argv + 2);
    }
    catch (const CDriverError& error)
    {
        std::fprintf(stderr, "bench_driver %s: %s\n", strMode.c_str(), error.what());
        return 1;
    }
    std::fprintf(stderr, "usage: bench_driver install MEDIUM INSTALL_DIR MENU_FOLDER PROBE_FILE\n"
                         "       bench_driver startup FOLDER COUNT\n"
                         "       bench_driver run PROGRAM [ARGUMENTS...]\n");
    return 2;
}
