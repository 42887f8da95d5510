#include "CabinetHeader.h"

#include <cstring>

namespace
{
constexpr std::size_t kMemberCountOffset = 28;  // cFiles, after the signature, sizes and version
}

bool ReadCabinetMemberCount(const unsigned char* pHeader, std::size_t nSize, unsigned& nMembers)
{
    if (nSize < kMemberCountOffset + 2 || std::memcmp(pHeader, "MSCF", 4) != 0)
        return false;
    nMembers = pHeader[kMemberCountOffset] | static_cast<unsigned>(pHeader[kMemberCountOffset + 1]) << 8;
    return true;
}
