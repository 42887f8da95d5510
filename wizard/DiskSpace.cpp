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

DWORD FreeMegabytesAt(const std::string& strFolder)
{
    DWORD nFreeMB = 0;
    // A folder that is no full local path gets the figures of an empty one: the installation
    // could neither be placed nor be taken away again there.
    if (IsFullLocalPath(strFolder))
    {
        const std::string strRoot = FormatText("%c:\\", strFolder[0]);
        DWORD nSectorsPerCluster = 0, nBytesPerSector = 0, nFreeClusters = 0, nTotalClusters = 0;
        // A root that names no drive (a network path) cannot be asked: no free space is known.
        if (GetDiskFreeSpaceA(strRoot.c_str(), &nSectorsPerCluster, &nBytesPerSector, &nFreeClusters,
                              &nTotalClusters))
        {
            Trace("Disk Space= %d %d %d %d\n", static_cast<int>(nSectorsPerCluster), static_cast<int>(nBytesPerSector),
                  static_cast<int>(nFreeClusters), static_cast<int>(nTotalClusters));
            nFreeMB = FreeMegabytes(nSectorsPerCluster, nBytesPerSector, nFreeClusters);
        }
    }
    return nFreeMB;
}

void CZantoSetupDlg::CheckDiskSpace()
{
    const DWORD nFreeMB = FreeMegabytesAt(m_strInstallDir);
    const DWORD nNeededMB = NeededMegabytes(g_nBytesNeeded);
    SetDlgItemText(IDC_SPACE_INFO, SpaceInfoText(m_bEnglish, nNeededMB, nFreeMB));
    EnableDlgItem(IDC_NEXT, HasRoom(nNeededMB, nFreeMB));
}
