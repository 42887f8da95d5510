// The campaign's silent runs: ZantoSetup.exe /VERYSILENT and uninstall.exe /SILENT as deployment
// tools start them, judged by their exit codes and by the disk.
#include "CaseRun.h"

#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "Snapshot.h"
#include "UninstallRun.h"
#include "WindowFinder.h"
#include "resource.h"

namespace
{
constexpr DWORD kSilentLimitMs = 120000;
// The started uninstall program's file and folders follow it within 30 s.
constexpr DWORD kLeftLimitMs = 40000;

std::string Quoted(const std::string& strText)
{
    return "\"" + strText + "\"";
}
}

EInstallOutcome CCaseRun::InstallSilently()
{
    m_dwStart = GetTickCount();
    m_pMain.reset();
    CProcessUnderTest& process = m_pSession->Process();
    // A silent run takes no input while it works: the watch begins at once.
    process.Start(m_pSession->MediumFile("ZantoSetup.exe"), m_pSession->MediumPath(),
                  std::string("/VERYSILENT /LANG=") + (m_bEnglish ? "en" : "de") + " /DIR=" + Quoted(m_strInstallDir) +
                      " /GROUP=" + Quoted(m_strMenuFolder),
                  false);
    bool bWindowSeen = false;
    // The self-check's fault goes into the hidden main window's thread as soon as it exists.
    bool bFaultIn = !SelfCheckFaultSet();
    const bool bEnded = WaitUntil(
        [&] {
            if (const HWND hCrash = FindCrashDialog())
            {
                Count(kCrash, "Wine crash dialog in a /VERYSILENT run");
                DismissCrashDialog(hCrash);
            }
            const HWND hMain = bFaultIn ? nullptr
                                        : FindProcessWindow(
                                              process.GetPid(),
                                              [](HWND hWnd) { return GetDlgItem(hWnd, IDC_LICENSE_TEXT) != nullptr; }, true);
            if (hMain != nullptr)
            {
                // A fault that cannot go in is counted as the harness's by PutFaultIn.
                PutFaultIn(hMain);
                bFaultIn = true;
            }
            if (!bWindowSeen && !ListProcessWindows(process.GetPid()).empty())
            {
                bWindowSeen = true;
                Count(kCrash, "a /VERYSILENT run showed a window");
            }
            return !process.IsRunning();
        },
        kSilentLimitMs);
    if (!bEnded)
    {
        Count(kHang, "a /VERYSILENT run still ran after " + std::to_string(kSilentLimitMs / 1000) + " s");
        Break();
        return EInstallOutcome::Broken;
    }
    const DWORD dwCode = process.GetExitCode();
    switch (dwCode)
    {
    case 0:
        return EInstallOutcome::Success;
    case 1:
        return EInstallOutcome::Refused;
    case 4:
        return EInstallOutcome::Failed;
    default:
        Count(kCrash, "a /VERYSILENT run ended with exit code " + std::to_string(dwCode));
        m_bBroken = true;
        return EInstallOutcome::Broken;
    }
}

bool CCaseRun::UninstallSilently()
{
    // Ends a copy that is left running and deletes what it left.
    CUninstallRun cleanup;
    PROCESS_INFORMATION process = {};
    if (!StartRecordedCommand("QuietUninstallString", process))
        return false;
    bool bBoxSeen = false;
    const bool bEnded = WaitUntil(
        [&] {
            if (!bBoxSeen && !ListMessageBoxesTitled("Zanto Demo").empty())
            {
                bBoxSeen = true;
                Count(kCrash, "uninstall.exe /SILENT showed a box");
            }
            return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
        },
        kSilentLimitMs);
    DWORD dwCode = STILL_ACTIVE;
    if (bEnded)
        GetExitCodeProcess(process.hProcess, &dwCode);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    if (!bEnded)
    {
        Count(kHang, "uninstall.exe /SILENT still ran after " + std::to_string(kSilentLimitMs / 1000) + " s");
        return false;
    }
    if (dwCode == 4)
    {
        if (RecordValues().empty())
            Count(kRecord, "uninstall.exe /SILENT ended with 4 and took the record");
        return false;
    }
    if (dwCode != 0)
    {
        Count(kCrash, "uninstall.exe /SILENT ended with exit code " + std::to_string(dwCode));
        return false;
    }
    if (!RecordValues().empty())
        Count(kRecord, "uninstall.exe /SILENT ended with 0 and left the record");
    // A new install folder goes with it; one that was there before keeps what it held.
    const std::string strLast = m_bInstallExisted ? m_strInstallDir + "\\uninstall.exe" : m_strInstallDir;
    if (!WaitUntil([&] { return !LongPathExists(strLast); }, kLeftLimitMs))
        Count(kLeftover, strLast + " stayed 40 s after the started program ended");
    if (!cleanup.WaitForCopyGone(kLeftLimitMs))
        Count(kLeftover, "the uninstall program's copy stayed in the temporary folder");
    return true;
}
