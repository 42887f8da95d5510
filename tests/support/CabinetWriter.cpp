#include "CabinetWriter.h"

#include <algorithm>
#include <fstream>

namespace
{
const std::size_t nHeaderSize = 36;
const std::size_t nFolderSize = 8;
const std::size_t nMaxBlock = 32768;
const std::uint16_t nFlagNextCabinet = 0x0002;
const std::uint16_t nFolderContinuedToNext = 0xFFFE;
const std::uint16_t nTypeStored = 0;
const std::uint16_t nAttribArchive = 0x20;
const std::uint16_t nDosDate = ((2024 - 1980) << 9) | (1 << 5) | 1; // 1 January 2024
const std::uint16_t nDosTime = 12 << 11;                            // 12:00:00

void Put16(std::string& str, std::uint32_t n)
{
    str += static_cast<char>(n & 0xFF);
    str += static_cast<char>((n >> 8) & 0xFF);
}

void Put32(std::string& str, std::uint32_t n)
{
    Put16(str, n & 0xFFFF);
    Put16(str, n >> 16);
}

// Appends bytes to the folder's data, opening a new block whenever the last one is full.
void AppendToBlocks(std::vector<std::string>& blocks, const std::string& strBytes)
{
    for (std::size_t nPos = 0; nPos < strBytes.size();)
    {
        if (blocks.empty() || blocks.back().size() == nMaxBlock)
            blocks.emplace_back();
        const std::size_t nTake = std::min(nMaxBlock - blocks.back().size(), strBytes.size() - nPos);
        blocks.back().append(strBytes, nPos, nTake);
        nPos += nTake;
    }
}
}

std::string BuildCabinet(const std::vector<SCabMember>& members, const SCabOptions& options)
{
    const bool bContinued = options.bContinued && !members.empty();

    std::vector<std::string> blocks;
    std::string strFiles;
    std::uint32_t nFolderOffset = 0;
    for (std::size_t i = 0; i < members.size(); ++i)
    {
        const SCabMember& member = members[i];
        const bool bSplit = bContinued && i + 1 == members.size();
        std::string strHere = member.strContent;
        if (bSplit)
        {
            // The continued member starts a block of its own: the members before it stay whole here.
            blocks.emplace_back();
            strHere.resize(strHere.size() / 2);
        }
        AppendToBlocks(blocks, strHere);

        Put32(strFiles, member.nDeclaredSize.value_or(static_cast<std::uint32_t>(member.strContent.size())));
        Put32(strFiles, nFolderOffset);
        Put16(strFiles, bSplit ? nFolderContinuedToNext : 0);
        Put16(strFiles, nDosDate);
        Put16(strFiles, nDosTime);
        Put16(strFiles, nAttribArchive);
        strFiles += member.strName;
        strFiles += '\0';
        nFolderOffset += static_cast<std::uint32_t>(member.strContent.size());
    }

    std::string strData;
    for (std::size_t i = 0; i < blocks.size(); ++i)
    {
        // A block that goes on in the next cabinet has no uncompressed size of its own.
        const bool bSplit = bContinued && i + 1 == blocks.size();
        Put32(strData, 0); // no checksum
        Put16(strData, static_cast<std::uint32_t>(blocks[i].size()));
        Put16(strData, bSplit ? 0 : static_cast<std::uint32_t>(blocks[i].size()));
        strData += blocks[i];
    }

    std::string strNext;
    if (bContinued)
        strNext = options.strNextCabinet + '\0' + options.strNextDisk + '\0';
    const std::size_t nFilesAt = nHeaderSize + strNext.size() + nFolderSize;
    const std::size_t nDataAt = nFilesAt + strFiles.size();

    std::string strCab = "MSCF";
    Put32(strCab, 0);
    Put32(strCab, static_cast<std::uint32_t>(nDataAt + strData.size()));
    Put32(strCab, 0);
    Put32(strCab, static_cast<std::uint32_t>(nFilesAt));
    Put32(strCab, 0);
    strCab += '\x03'; // version 1.3
    strCab += '\x01';
    Put16(strCab, 1); // folders
    Put16(strCab, static_cast<std::uint32_t>(members.size()));
    Put16(strCab, bContinued ? nFlagNextCabinet : 0);
    Put16(strCab, 0); // set
    Put16(strCab, 0); // number in the set
    strCab += strNext;

    Put32(strCab, static_cast<std::uint32_t>(nDataAt));
    Put16(strCab, static_cast<std::uint32_t>(blocks.size()));
    Put16(strCab, nTypeStored);

    strCab += strFiles;
    strCab += strData;
    if (options.nTruncateTo && *options.nTruncateTo < strCab.size())
        strCab.resize(*options.nTruncateTo);
    return strCab;
}

bool WriteCabinet(const std::string& strPath, const std::vector<SCabMember>& members, const SCabOptions& options)
{
    const std::string strCab = BuildCabinet(members, options);
    std::ofstream file(strPath, std::ios::binary | std::ios::trunc);
    file.write(strCab.data(), static_cast<std::streamsize>(strCab.size()));
    file.close();
    return !file.fail();
}

bool FlipBits(const std::string& strPath, std::size_t nOffset, unsigned char nMask)
{
    std::fstream file(strPath, std::ios::in | std::ios::out | std::ios::binary);
    char ch = 0;
    if (!file.seekg(static_cast<std::streamoff>(nOffset)) || !file.get(ch))
        return false;
    file.seekp(static_cast<std::streamoff>(nOffset));
    file.put(static_cast<char>(ch ^ nMask));
    file.close();
    return !file.fail();
}
