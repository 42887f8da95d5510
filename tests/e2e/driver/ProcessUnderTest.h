#pragma once

#include "DriverTimeouts.h"
#include "ScopedHandle.h"

#include <string>

// The program a test drives. It never outlives the test: destroying the object
// terminates the process if it still runs.
class CProcessUnderTest
{
public:
    CProcessUnderTest() = default;
    ~CProcessUnderTest();

    CProcessUnderTest(const CProcessUnderTest&) = delete;
    CProcessUnderTest& operator=(const CProcessUnderTest&) = delete;

    // Runs strExePath with strWorkingDir as its current directory; strArguments
    // is appended to the quoted exe path. Paths are Windows paths. Returns once
    // the program first waits for input (at most kDefaultTimeoutMs). A process
    // started earlier by this object is terminated first. Throws CDriverError.
    // bWaitForInput false returns at once: a program busy from its start (a silent installation)
    // takes no input until its work is done.
    void Start(const std::string& strExePath, const std::string& strWorkingDir, const std::string& strArguments = {},
               bool bWaitForInput = true);

    DWORD GetPid() const { return m_dwPid; }
    HANDLE GetHandle() const { return m_hProcess.Get(); }

    bool IsRunning() const;

    // Returns whether the process ended within dwTimeoutMs.
    bool WaitForExit(DWORD dwTimeoutMs = kDefaultTimeoutMs) const;

    // STILL_ACTIVE while the process runs. Throws CDriverError if never started.
    DWORD GetExitCode() const;

    // Ends the process if it still runs and waits until it is gone, so the
    // next test never meets its files or windows.
    void Terminate();

private:
    CScopedHandle m_hProcess;
    DWORD m_dwPid = 0;
};
