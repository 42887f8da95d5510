#include "SetupLock.h"

namespace
{
constexpr const char* kMutexName = "Global\\ZantoDemoSetup";
}

CSetupLock::~CSetupLock()
{
    if (m_bHeld)
        ReleaseMutex(m_hMutex.get());
}

bool CSetupLock::TryAcquire()
{
    if (m_bHeld)
        return true;
    m_hMutex.reset(CreateMutexA(nullptr, FALSE, kMutexName));
    if (!m_hMutex)
        return false;
    // A holder that ended without letting go (a crash, Task Manager) leaves the mutex abandoned:
    // it is free then.
    const DWORD dwWait = WaitForSingleObject(m_hMutex.get(), 0);
    m_bHeld = dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED;
    return m_bHeld;
}
