#include "CabinetHeader.h"

#include <cstring>

namespace
{
constexpr std::size_t kMemberCountOffset = 28;  // cFiles, after the signature, sizes and version
constexpr std::size_t kFolderCountOffset = 26;  // cFolders
constexpr std::size_t kMembersOffset = 16;      // coffFiles
constexpr std::size_t kFlagsOffset = 30;
constexpr unsigned kPreviousCabinet = 0x0001;
constexpr unsigned kNextCabinet = 0x0002;
constexpr unsigned kReservePresent = 0x0004;
constexpr std::size_t kFolderEntrySize = 8;     // coffCabStart, cCFData, typeCompress
constexpr std::size_t kMemberEntrySize = 16;    // cbFile, uoffFolderStart, iFolder, date, time, attribs
constexpr std::size_t kMaxNameSize = 256;       // with its ending zero

unsigned Word(const unsigned char* p)
{
    return p[0] | static_cast<unsigned>(p[1]) << 8;
}

std::uint32_t Long(const unsigned char* p)
{
    return Word(p) | static_cast<std::uint32_t>(Word(p + 2)) << 16;
}

bool IsCabinet(const unsigned char* pBytes, std::size_t nSize)
{
    return nSize >= kCabinetHeaderSize && std::memcmp(pBytes, "MSCF", 4) == 0;
}

// Moves nPos past a zero-ended string that starts there; false when it does not end in time.
bool SkipString(const unsigned char* pBytes, std::size_t nSize, std::size_t& nPos)
{
    const std::size_t nEnd = nPos + kMaxNameSize < nSize ? nPos + kMaxNameSize : nSize;
    for (; nPos < nEnd; ++nPos)
        if (pBytes[nPos] == 0)
        {
            ++nPos;
            return true;
        }
    return false;
}
}

bool ReadCabinetMemberCount(const unsigned char* pHeader, std::size_t nSize, unsigned& nMembers)
{
    if (nSize < kMemberCountOffset + 2 || std::memcmp(pHeader, "MSCF", 4) != 0)
        return false;
    nMembers = Word(pHeader + kMemberCountOffset);
    return true;
}

std::uint64_t CabinetDirectoryLimit(const unsigned char* pHeader, std::size_t nSize)
{
    if (!IsCabinet(pHeader, nSize))
        return 0;
    // The member entries follow the header with its reserve and the folder entries with theirs.
    const std::uint64_t nFolderArea = kCabinetHeaderSize + 4 + 0xFFFF +
                                      static_cast<std::uint64_t>(Word(pHeader + kFolderCountOffset)) *
                                          (kFolderEntrySize + 0xFF);
    if (Long(pHeader + kMembersOffset) > nFolderArea)
        return 0;
    return Long(pHeader + kMembersOffset) +
           static_cast<std::uint64_t>(Word(pHeader + kMemberCountOffset)) * (kMemberEntrySize + kMaxNameSize);
}

bool IsSoundCabinetDirectory(const unsigned char* pBytes, std::size_t nSize, std::uint64_t nFileSize)
{
    if (!IsCabinet(pBytes, nSize))
        return false;
    const unsigned nFolders = Word(pBytes + kFolderCountOffset);
    const unsigned nMembers = Word(pBytes + kMemberCountOffset);
    const unsigned nFlags = Word(pBytes + kFlagsOffset);
    // A cabinet of a set: its members may continue elsewhere.
    if ((nFlags & (kPreviousCabinet | kNextCabinet)) != 0 || (nMembers > 0 && nFolders == 0))
        return false;

    std::size_t nPos = kCabinetHeaderSize;
    std::size_t nFolderReserve = 0;
    if ((nFlags & kReservePresent) != 0)
    {
        if (nSize - nPos < 4)
            return false;
        const std::size_t nHeaderReserve = Word(pBytes + nPos);
        nFolderReserve = pBytes[nPos + 2];
        nPos += 4 + nHeaderReserve;
    }
    for (unsigned nFolder = 0; nFolder < nFolders; ++nFolder, nPos += kFolderEntrySize + nFolderReserve)
        if (nPos > nSize || nSize - nPos < kFolderEntrySize || Long(pBytes + nPos) >= nFileSize)
            return false;

    nPos = Long(pBytes + kMembersOffset);
    for (unsigned nMember = 0; nMember < nMembers; ++nMember)
    {
        if (nPos > nSize || nSize - nPos < kMemberEntrySize || Word(pBytes + nPos + 8) >= nFolders)
            return false;
        nPos += kMemberEntrySize;
        if (!SkipString(pBytes, nSize, nPos))
            return false;
    }
    return true;
}
