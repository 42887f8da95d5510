#include "ProcessUnderTest.h"

#include "AnsiText.h"
#include "DriverError.h"

namespace
{
// Exit code of a process the test had to kill, distinct from the usual 0 and 1.
constexpr UINT kTerminatedExitCode = 0xDEAD;
constexpr DWORD kTerminateWaitMs = 5000;
}

CProcessUnderTest::~CProcessUnderTest()
{
    Terminate();
}

void CProcessUnderTest::Start(const std::string& strExePath, const std::string& strWorkingDir,
                              const std::string& strArguments, bool bWaitForInput)
{
    Terminate();
    m_hProcess.Reset();
    m_dwPid = 0;

    const std::wstring strExe = AnsiToWide(strExePath);
    const std::wstring strDir = AnsiToWide(strWorkingDir);
    // CreateProcessW may write into the command line, so it gets its own buffer.
    std::wstring strCommandLine = L"\"" + strExe + L"\"";
    if (!strArguments.empty())
        strCommandLine += L" " + AnsiToWide(strArguments);

    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(strExe.c_str(), &strCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr, strDir.c_str(),
                        &si, &pi))
        throw CDriverError("cannot start " + strExePath + " in " + strWorkingDir + ": error " +
                           std::to_string(GetLastError()));

    const CScopedHandle hThread(pi.hThread);
    m_hProcess.Reset(pi.hProcess);
    m_dwPid = pi.dwProcessId;

    // Under Wine a dialog can be on screen before its program takes input, and
    // a click that early may be undone; a program that exits at once or never
    // waits for input simply ends this wait.
    if (bWaitForInput)
        WaitForInputIdle(m_hProcess.Get(), kDefaultTimeoutMs);
}

bool CProcessUnderTest::IsRunning() const
{
    return m_hProcess.IsValid() && WaitForSingleObject(m_hProcess.Get(), 0) == WAIT_TIMEOUT;
}

bool CProcessUnderTest::WaitForExit(DWORD dwTimeoutMs) const
{
    return m_hProcess.IsValid() && WaitForSingleObject(m_hProcess.Get(), dwTimeoutMs) == WAIT_OBJECT_0;
}

DWORD CProcessUnderTest::GetExitCode() const
{
    DWORD dwExitCode = 0;
    if (!m_hProcess.IsValid() || !GetExitCodeProcess(m_hProcess.Get(), &dwExitCode))
        throw CDriverError("no exit code: the process was not started");
    return dwExitCode;
}

void CProcessUnderTest::Terminate()
{
    if (!IsRunning())
        return;
    TerminateProcess(m_hProcess.Get(), kTerminatedExitCode);
    WaitForSingleObject(m_hProcess.Get(), kTerminateWaitMs);
}
