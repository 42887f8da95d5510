// When ZantoSetup's work is done, step by step, seen from outside: a thread reads the status line
// (and at the end the progress bar) every few milliseconds with SendMessageTimeout. The program
// answers at its own message passes, so a read that waits there is answered at the first pass
// after a change; a read sent later finds the change within one poll period.
#pragma once

#include <windows.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

class CWorkProbe
{
public:
    // strInstallDir is the folder typed into the wizard; astrLanguageFiles the names of the
    // language tree's files relative to it, whose names the status line shows first.
    CWorkProbe(HWND hMain, const std::string& strInstallDir, const std::vector<std::string>& astrLanguageFiles);
    ~CWorkProbe();
    CWorkProbe(const CWorkProbe&) = delete;
    CWorkProbe& operator=(const CWorkProbe&) = delete;

    void Start();
    void Stop();

    // Seconds on the performance counter of the first answers that showed each step; 0 when
    // the probe never saw it.
    double CabinetSeen() const { return m_dCabinet; }
    double MenuSeen() const { return m_dMenu; }
    double FinishedSeen() const { return m_dFinished; }

private:
    enum EStep
    {
        kLanguageTree,
        kCabinet,
        kMenu,
        kFinished,
    };
    void Run();
    EStep StepOf(const std::string& strStatus) const;

    HWND m_hStatus;
    HWND m_hProgress;
    std::string m_strCopyPrefix;
    std::set<std::string> m_astrLanguageTexts;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
    double m_dCabinet = 0;
    double m_dMenu = 0;
    double m_dFinished = 0;
};
