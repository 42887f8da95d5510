// The header and directory of a cabinet file, as far as the extraction checks them.
#pragma once

#include <cstddef>
#include <cstdint>

// The number of member entries that the header declares. False when the bytes are not the start
// of a cabinet.
bool ReadCabinetMemberCount(const unsigned char* pHeader, std::size_t nSize, unsigned& nMembers);

// How many bytes from the start hold the header, the folder entries and the member entries at
// most, from the header's first bytes (the fixed part: kCabinetHeaderSize); 0 where the bytes
// are not the start of a cabinet or its member entries would lie beyond any folder entries.
constexpr std::size_t kCabinetHeaderSize = 36;
std::uint64_t CabinetDirectoryLimit(const unsigned char* pHeader, std::size_t nSize);

// Whether the directory in the first nSize bytes of a cabinet of nFileSize bytes is one that the
// system's reader can be handed: its folder and member entries lie within the bytes, the folders'
// data within the file, and every member lies in one of this cabinet's folders, none continued
// from or into another cabinet, each with a name that ends.
bool IsSoundCabinetDirectory(const unsigned char* pBytes, std::size_t nSize, std::uint64_t nFileSize);
