// The lock that the setup program holds while it installs or removes, and the uninstall program
// while it removes: never two at once on the same installation.
#pragma once

#include "UniqueHandle.h"

// What the program that finds the other at work says.
constexpr const char* kSetupRunningEnglish = "Zanto Demo Setup is running. Please close it first.";
constexpr const char* kSetupRunningGerman = "Zanto Demo Setup läuft bereits. Bitte schließen Sie es zuerst.";

// One named mutex for all sessions of the machine. The same thread may take it again inside its
// own hold (a cancel's clean-up inside the installation).
class CSetupLock
{
public:
    CSetupLock() = default;
    ~CSetupLock();
    CSetupLock(const CSetupLock&) = delete;
    CSetupLock& operator=(const CSetupLock&) = delete;

    // Takes the lock without waiting; false when another process holds it.
    bool TryAcquire();

private:
    CUniqueKernelObject m_hMutex;
    bool m_bHeld = false;
};
