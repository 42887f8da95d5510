// Free-space arithmetic and text of the install folder page.
#pragma once

#include <windows.h>

#include <string>

// Whole megabytes free from a volume's cluster figures. The bytes are formed in 64 bits first,
// so that neither a volume of 4 TiB and more nor clusters under 1 KiB distort the figure.
DWORD FreeMegabytes(DWORD nSectorsPerCluster, DWORD nBytesPerSector, DWORD nFreeClusters);

// Whole megabytes of a byte count.
inline DWORD NeededMegabytes(DWORD nBytes) { return nBytes >> 20; }

// The installation fits only when strictly fewer megabytes are needed than are free.
inline bool HasRoom(DWORD nNeededMB, DWORD nFreeMB) { return nNeededMB < nFreeMB; }

// The bytes that the configuration announces; a sum beyond 32 bits needs more than any drive offers.
inline DWORD AnnouncedBytes(DWORD nSizeBase, DWORD nSizeExtra)
{
    return nSizeBase + nSizeExtra < nSizeBase ? MAXDWORD : nSizeBase + nSizeExtra;
}

// Whole megabytes free on the drive of strFolder; 0 when it is no full local path or its drive
// cannot be asked.
DWORD FreeMegabytesAt(const std::string& strFolder);

std::string SpaceInfoText(bool bEnglish, DWORD nNeededMB, DWORD nFreeMB);
