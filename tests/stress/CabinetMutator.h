// Damaged and hostile cabinets for the campaign, made from real ones: the demo medium's gcab
// cabinet (MSZIP) and the test writer's stored ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Random.h"

struct SCabFileEntry
{
    std::uint32_t nSize = 0;
    std::uint32_t nFolderOffset = 0;
    std::uint16_t nFolder = 0;
    std::uint16_t nDate = 0;
    std::uint16_t nTime = 0;
    std::uint16_t nAttributes = 0;
    std::string strName;
};

struct SCabFolderEntry
{
    std::uint32_t nDataOffset = 0; // from the start of the data area
    std::uint16_t nBlocks = 0;
    std::uint16_t nCompression = 0;
    std::string strReserve;
};

// A cabinet taken apart into its header, folder and file entries and the data area behind them;
// Serialize puts it together again with every offset and count recomputed.
struct SCabinet
{
    std::uint32_t nReserved1 = 0, nReserved2 = 0, nReserved3 = 0;
    std::uint8_t nVersionMinor = 3, nVersionMajor = 1;
    std::uint16_t nFlags = 0, nSetId = 0, nIndexInSet = 0;
    std::uint8_t nFolderReserve = 0, nDataReserve = 0;
    std::string strHeaderReserve;
    std::string strPrevCabinet, strPrevDisk, strNextCabinet, strNextDisk;
    std::vector<SCabFolderEntry> folders;
    std::vector<SCabFileEntry> files;
    std::string strData;
};

bool ParseCabinet(const std::string& strBytes, SCabinet& cabinet);
std::string SerializeCabinet(const SCabinet& cabinet);

// Byte offsets of the fields in a serialized cabinet, for damage done after serializing.
struct SCabLayout
{
    std::size_t nFoldersAt = 0;      // first CFFOLDER
    std::size_t nFolderSize = 8;     // one CFFOLDER with its reserve
    std::size_t nFilesAt = 0;        // first CFFILE
    std::vector<std::size_t> fileAt; // each CFFILE
    std::size_t nDataAt = 0;         // data area
    std::vector<std::size_t> blockAt; // each CFDATA header that lies inside the cabinet
};
SCabLayout LayoutOf(const SCabinet& cabinet);

// What a mutated cabinet should still install when the installer takes it: its members with plain
// names and their declared sizes (empty when the bytes no longer parse).
struct SCabMemberInfo
{
    std::string strName;
    std::uint32_t nSize;
};

struct SMutatedCabinet
{
    std::string strBytes;
    std::string strWhat;
    // Member names put in on purpose that must never leave the install folder: each is looked
    // for at the places it would have reached.
    std::vector<std::string> hostileNames;
    // The file name that the hostile names end in.
    std::string strMarker;
};

// A seeded set of damages to a real cabinet: bit flips, truncation, changed header, folder, file
// and block fields, hostile member names and huge declared sizes, alone or combined.
SMutatedCabinet MutateCabinet(const std::string& strBase, CRandom& random, const std::string& strWindowsDir);

// A stored cabinet of the test writer with random plain members, as a base for MutateCabinet.
std::string RandomWriterCabinet(CRandom& random, std::string& strWhat);

// A writer cabinet of many members in a few folders, for cancels at many files.
std::string ManyFilesCabinet(unsigned nFiles);

// Members of a cabinet as its entries declare them.
std::vector<SCabMemberInfo> DeclaredMembers(const std::string& strBytes);

// Whether a member name is a plain relative path that an installer may write below its folder.
bool IsPlainMemberName(const std::string& strName);

// Hostile member names: traversal, absolute, drive, UNC, device, stream, over-long and the like.
std::vector<std::string> HostileMemberNames(const std::string& strWindowsDir, const std::string& strMarker);
