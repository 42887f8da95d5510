#include "DiskSpace.h"

#include <climits>

#include "InstallPaths.h"
#include "TextFormat.h"
#include "Trace.h"
#include "ZantoSetupDlg.h"

DWORD FreeMegabytes(DWORD nSectorsPerCluster, DWORD nBytesPerSector, DWORD nFreeClusters)
{
    const unsigned long long nClusterBytes = static_cast<unsigned long long>(nSectorsPerCluster) * nBytesPerSector;
    // A 64-bit product of two 32-bit numbers can still overflow; such a volume has room for anything.
    if (nClusterBytes != 0 && nFreeClusters > ULLONG_MAX / nClusterBytes)
        return MAXDWORD;
    const unsigned long long nFreeMB = (nClusterBytes * nFreeClusters) >> 20;
    return nFreeMB > MAXDWORD ? MAXDWORD : static_cast<DWORD>(nFreeMB);
}

std::string SpaceInfoText(bool bEnglish, DWORD nNeededMB, DWORD nFreeMB)
{
    // The figures are printed as signed numbers: keep huge ones from turning negative.
    const int nNeeded = nNeededMB > INT_MAX ? INT_MAX : static_cast<int>(nNeededMB);
    const int nFree = nFreeMB > INT_MAX ? INT_MAX : static_cast<int>(nFreeMB);
    if (bEnglish)
        return FormatText("Free space needed:\t%6.d MB\nFree diskspace:\t\t%6.d MB", nNeeded, nFree);
    return FormatText("Benötigter Speicherplatz:\t%6.d MB\nFreier Speicherplatz\t%6.d MB", nNeeded, nFree);
}

void CZantoSetupDlg::CheckDiskSpace()
{
    DWORD nFreeMB = 0;
    // Only a full local path is installed into: removal cannot take apart what a relative, a
    // network or an odd path would leave. Other folders show no free space, so Next stays off.
    if (IsFullLocalPath(m_strInstallDir))
    {
        const std::string strRoot = FormatText("%c:\\", m_strInstallDir[0]);
        DWORD nSectorsPerCluster = 0, nBytesPerSector = 0, nFreeClusters = 0, nTotalClusters = 0;
        // The field is checked as it is typed: a drive without a medium must not ask the user
        // to insert one at every key.
        const UINT nErrorMode = SetErrorMode(SEM_FAILCRITICALERRORS);
        const BOOL bAnswered = GetDiskFreeSpaceA(strRoot.c_str(), &nSectorsPerCluster, &nBytesPerSector,
                                                 &nFreeClusters, &nTotalClusters);
        SetErrorMode(nErrorMode);
        // A drive that does not exist has no free space.
        if (bAnswered)
        {
            Trace("Disk Space= %d %d %d %d\n", static_cast<int>(nSectorsPerCluster), static_cast<int>(nBytesPerSector),
                  static_cast<int>(nFreeClusters), static_cast<int>(nTotalClusters));
            nFreeMB = FreeMegabytes(nSectorsPerCluster, nBytesPerSector, nFreeClusters);
        }
    }
    const DWORD nNeededMB = NeededMegabytes(g_nBytesNeeded);
    SetDlgItemText(IDC_SPACE_INFO, SpaceInfoText(m_bEnglish, nNeededMB, nFreeMB));
    EnableDlgItem(IDC_NEXT, HasRoom(nNeededMB, nFreeMB));
}
