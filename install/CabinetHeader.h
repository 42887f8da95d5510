// The header of a cabinet file, as far as the extraction checks it.
#pragma once

#include <cstddef>

// The number of member entries that the header declares. False when the bytes are not the start
// of a cabinet.
bool ReadCabinetMemberCount(const unsigned char* pHeader, std::size_t nSize, unsigned& nMembers);
