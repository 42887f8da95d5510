#include "CabinetMutator.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>

#include "CabinetWriter.h"

namespace
{
const std::size_t kHeaderSize = 36;
const std::uint16_t kFlagPrev = 0x0001;
const std::uint16_t kFlagNext = 0x0002;
const std::uint16_t kFlagReserve = 0x0004;

std::uint32_t Get(const std::string& str, std::size_t nAt, int nBytes)
{
    std::uint32_t n = 0;
    for (int i = nBytes - 1; i >= 0; --i)
        n = (n << 8) | static_cast<unsigned char>(str[nAt + static_cast<std::size_t>(i)]);
    return n;
}

void Put(std::string& str, std::uint32_t n, int nBytes)
{
    for (int i = 0; i < nBytes; ++i)
        str += static_cast<char>((n >> (8 * i)) & 0xFF);
}

void Poke(std::string& str, std::size_t nAt, std::uint32_t n, int nBytes)
{
    for (int i = 0; i < nBytes && nAt + static_cast<std::size_t>(i) < str.size(); ++i)
        str[nAt + static_cast<std::size_t>(i)] = static_cast<char>((n >> (8 * i)) & 0xFF);
}

bool ReadString(const std::string& str, std::size_t& nAt, std::string& strOut)
{
    const std::size_t nEnd = str.find('\0', nAt);
    if (nEnd == std::string::npos)
        return false;
    strOut = str.substr(nAt, nEnd - nAt);
    nAt = nEnd + 1;
    return true;
}

std::string Hex(std::uint64_t n)
{
    char sz[32];
    std::snprintf(sz, sizeof(sz), "0x%llX", static_cast<unsigned long long>(n));
    return sz;
}

// Printable form of a name for the log: control and high bytes as \xNN, long names shortened.
std::string Shown(const std::string& str)
{
    std::string strOut;
    for (const char ch : str.substr(0, 80))
    {
        const unsigned char by = static_cast<unsigned char>(ch);
        if (by < 0x20 || by >= 0x7F || ch == '"')
        {
            char sz[8];
            std::snprintf(sz, sizeof(sz), "\\x%02X", by);
            strOut += sz;
        }
        else
            strOut += ch;
    }
    if (str.size() > 80)
        strOut += "...(" + std::to_string(str.size()) + " bytes)";
    return "\"" + strOut + "\"";
}

// Values that break arithmetic and bounds: zero, one, the largest ones, and a few near them.
std::uint32_t EdgeValue(CRandom& random, std::uint32_t nOriginal, int nBytes)
{
    const std::uint32_t nMax = nBytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * nBytes)) - 1;
    switch (random.Below(9))
    {
    case 0:
        return 0;
    case 1:
        return 1;
    case 2:
        return nMax;
    case 3:
        return nMax - 1;
    case 4:
        return nMax / 2 + 1;
    case 5:
        return (nOriginal + 1) & nMax;
    case 6:
        return (nOriginal - 1) & nMax;
    case 7:
        return (nOriginal * 2 + 1) & nMax;
    default:
        return static_cast<std::uint32_t>(random.Next()) & nMax;
    }
}

bool IsDeviceName(std::string strBase)
{
    const std::size_t nDot = strBase.find('.');
    if (nDot != std::string::npos)
        strBase.resize(nDot);
    for (char& ch : strBase)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    while (!strBase.empty() && strBase.back() == ' ')
        strBase.pop_back();
    static const char* const s_apszDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* pszDevice : s_apszDevices)
        if (strBase == pszDevice)
            return true;
    return strBase.size() == 4 && (strBase.compare(0, 3, "COM") == 0 || strBase.compare(0, 3, "LPT") == 0) &&
           strBase[3] >= '0' && strBase[3] <= '9';
}

std::string PlainName(CRandom& random)
{
    static const std::vector<std::string> s_folders = {"", "data\\", "data\\maps\\", "bin\\", "docs\\", "data\\x\\y\\"};
    static const std::vector<std::string> s_stems = {"readme", "level", "tool", "map", "sound", "notes", "a", "Z_9"};
    static const std::vector<std::string> s_exts = {".txt", ".dat", ".exe", ".map", ".wav", ""};
    return random.Pick(s_folders) + random.Pick(s_stems) + std::to_string(random.Below(100)) + random.Pick(s_exts);
}

std::string Content(CRandom& random, std::size_t nSize)
{
    std::string str(nSize, '\0');
    const unsigned char byBase = random.Byte();
    for (std::size_t i = 0; i < nSize; ++i)
        str[i] = static_cast<char>(byBase + (i * 7) % 251);
    return str;
}

// Writes the value that fnNew makes of the nBytes-byte field at nAt, and describes the change as
// "strName old->new".
std::string ReplaceField(std::string& strBytes, std::size_t nAt, int nBytes, const std::string& strName,
                         const std::function<std::uint32_t(std::uint32_t)>& fnNew)
{
    const std::uint32_t nOld = Get(strBytes, nAt, nBytes);
    const std::uint32_t nNew = fnNew(nOld);
    Poke(strBytes, nAt, nNew, nBytes);
    return strName + " " + Hex(nOld) + "->" + Hex(nNew);
}

// Damage one field of the header.
std::string DamageHeader(std::string& strBytes, CRandom& random)
{
    struct SField
    {
        const char* pszName;
        std::size_t nAt;
        int nBytes;
    };
    static const SField s_aFields[] = {
        {"signature", 0, 4},   {"reserved1", 4, 4}, {"cbCabinet", 8, 4}, {"reserved2", 12, 4},
        {"coffFiles", 16, 4},  {"reserved3", 20, 4}, {"versionMinor", 24, 1}, {"versionMajor", 25, 1},
        {"cFolders", 26, 2},   {"cFiles", 28, 2},    {"flags", 30, 2},        {"setID", 32, 2},
        {"iCabinet", 34, 2},
    };
    const SField& field = s_aFields[random.Below(sizeof(s_aFields) / sizeof(s_aFields[0]))];
    if (strBytes.size() < field.nAt + static_cast<std::size_t>(field.nBytes))
        return std::string("header too short for ") + field.pszName;
    return ReplaceField(strBytes, field.nAt, field.nBytes, std::string("header.") + field.pszName,
                        [&](std::uint32_t nOld) { return EdgeValue(random, nOld, field.nBytes); });
}

std::string DamageFolder(std::string& strBytes, const SCabinet& cabinet, const SCabLayout& layout, CRandom& random)
{
    if (cabinet.folders.empty())
        return "no folder to damage";
    const std::size_t nFolder = random.Below(cabinet.folders.size());
    const std::size_t nAt = layout.nFoldersAt + nFolder * layout.nFolderSize;
    std::string strWhat = "folder[" + std::to_string(nFolder) + "].";
    switch (random.Below(3))
    {
    case 0:
        return ReplaceField(strBytes, nAt, 4, strWhat + "coffCabStart",
                            [&](std::uint32_t nOld) { return EdgeValue(random, nOld, 4); });
    case 1:
        return ReplaceField(strBytes, nAt + 4, 2, strWhat + "cCFData",
                            [&](std::uint32_t nOld) { return EdgeValue(random, nOld, 2); });
    default:
    {
        // None, MSZIP, Quantum, LZX with window sizes in and out of range, and nonsense.
        static const std::vector<std::uint32_t> s_types = {0x0000, 0x0001, 0x0002, 0x0003, 0x1003, 0x1503,
                                                           0x2103, 0x0F03, 0x0702, 0x000F, 0xFFFF, 0x0004};
        return ReplaceField(strBytes, nAt + 6, 2, strWhat + "typeCompress", [&](std::uint32_t) {
            return random.Chance(80) ? random.Pick(s_types) : static_cast<std::uint32_t>(random.Next() & 0xFFFF);
        });
    }
    }
}

std::string DamageFileEntry(std::string& strBytes, const SCabinet& cabinet, const SCabLayout& layout, CRandom& random)
{
    if (cabinet.files.empty())
        return "no file entry to damage";
    const std::size_t nFile = random.Below(cabinet.files.size());
    const std::size_t nAt = layout.fileAt[nFile];
    std::string strWhat = "file[" + std::to_string(nFile) + "].";
    switch (random.Below(4))
    {
    case 0:
        return ReplaceField(strBytes, nAt + 4, 4, strWhat + "uoffFolderStart",
                            [&](std::uint32_t nOld) { return EdgeValue(random, nOld, 4); });
    case 1:
    {
        // Beyond the folders, and the markers of members continued from or to other cabinets.
        static const std::vector<std::uint32_t> s_folders = {1, 2, 0x7FFF, 0xFFFD, 0xFFFE, 0xFFFF};
        return ReplaceField(strBytes, nAt + 8, 2, strWhat + "iFolder",
                            [&](std::uint32_t) { return random.Pick(s_folders); });
    }
    case 2:
        return ReplaceField(strBytes, nAt + 14, 2, strWhat + "attribs",
                            [&](std::uint32_t) { return static_cast<std::uint32_t>(random.Next() & 0xFFFF); });
    default:
        return ReplaceField(strBytes, nAt + 10, 4, strWhat + "date/time",
                            [&](std::uint32_t) { return static_cast<std::uint32_t>(random.Next()); });
    }
}

std::string DamageBlock(std::string& strBytes, const SCabLayout& layout, CRandom& random)
{
    if (layout.blockAt.empty())
        return "no data block to damage";
    const std::size_t nBlock = random.Below(layout.blockAt.size());
    const std::size_t nAt = layout.blockAt[nBlock];
    std::string strWhat = "block[" + std::to_string(nBlock) + "].";
    switch (random.Below(3))
    {
    case 0:
        return ReplaceField(strBytes, nAt, 4, strWhat + "csum",
                            [&](std::uint32_t) { return static_cast<std::uint32_t>(random.Next()); });
    case 1:
        return ReplaceField(strBytes, nAt + 4, 2, strWhat + "cbData",
                            [&](std::uint32_t nOld) { return EdgeValue(random, nOld, 2); });
    default:
        return ReplaceField(strBytes, nAt + 6, 2, strWhat + "cbUncomp",
                            [&](std::uint32_t nOld) { return EdgeValue(random, nOld, 2); });
    }
}

std::string FlipBits(std::string& strBytes, CRandom& random, std::size_t nFrom, std::size_t nTo)
{
    if (strBytes.empty())
        return "nothing to flip";
    nTo = std::min(nTo, strBytes.size());
    if (nFrom >= nTo)
        nFrom = 0;
    const unsigned nFlips = static_cast<unsigned>(random.Between(1, random.Chance(70) ? 4 : 64));
    std::string strWhat = "flip " + std::to_string(nFlips) + " bit(s) in " + Hex(nFrom) + ".." + Hex(nTo) + ":";
    for (unsigned i = 0; i < nFlips; ++i)
    {
        const std::size_t nAt = nFrom + random.Below(nTo - nFrom);
        const unsigned char byMask = static_cast<unsigned char>(1u << random.Below(8));
        strBytes[nAt] = static_cast<char>(strBytes[nAt] ^ byMask);
        if (i < 6)
            strWhat += " " + Hex(nAt) + "^" + Hex(byMask);
    }
    return strWhat;
}
}

bool ParseCabinet(const std::string& strBytes, SCabinet& cabinet)
{
    cabinet = SCabinet();
    if (strBytes.size() < kHeaderSize || strBytes.compare(0, 4, "MSCF") != 0)
        return false;
    cabinet.nReserved1 = Get(strBytes, 4, 4);
    cabinet.nReserved2 = Get(strBytes, 12, 4);
    const std::uint32_t nFilesAt = Get(strBytes, 16, 4);
    cabinet.nReserved3 = Get(strBytes, 20, 4);
    cabinet.nVersionMinor = static_cast<std::uint8_t>(strBytes[24]);
    cabinet.nVersionMajor = static_cast<std::uint8_t>(strBytes[25]);
    const std::uint32_t nFolders = Get(strBytes, 26, 2);
    const std::uint32_t nFiles = Get(strBytes, 28, 2);
    cabinet.nFlags = static_cast<std::uint16_t>(Get(strBytes, 30, 2));
    cabinet.nSetId = static_cast<std::uint16_t>(Get(strBytes, 32, 2));
    cabinet.nIndexInSet = static_cast<std::uint16_t>(Get(strBytes, 34, 2));
    std::size_t nAt = kHeaderSize;
    if (cabinet.nFlags & kFlagReserve)
    {
        if (strBytes.size() < nAt + 4)
            return false;
        const std::uint32_t nHeaderReserve = Get(strBytes, nAt, 2);
        cabinet.nFolderReserve = static_cast<std::uint8_t>(strBytes[nAt + 2]);
        cabinet.nDataReserve = static_cast<std::uint8_t>(strBytes[nAt + 3]);
        nAt += 4;
        if (strBytes.size() < nAt + nHeaderReserve)
            return false;
        cabinet.strHeaderReserve = strBytes.substr(nAt, nHeaderReserve);
        nAt += nHeaderReserve;
    }
    if ((cabinet.nFlags & kFlagPrev) &&
        (!ReadString(strBytes, nAt, cabinet.strPrevCabinet) || !ReadString(strBytes, nAt, cabinet.strPrevDisk)))
        return false;
    if ((cabinet.nFlags & kFlagNext) &&
        (!ReadString(strBytes, nAt, cabinet.strNextCabinet) || !ReadString(strBytes, nAt, cabinet.strNextDisk)))
        return false;

    std::uint32_t nDataStart = static_cast<std::uint32_t>(strBytes.size());
    for (std::uint32_t i = 0; i < nFolders; ++i)
    {
        if (strBytes.size() < nAt + 8 + cabinet.nFolderReserve)
            return false;
        SCabFolderEntry folder;
        folder.nDataOffset = Get(strBytes, nAt, 4);
        folder.nBlocks = static_cast<std::uint16_t>(Get(strBytes, nAt + 4, 2));
        folder.nCompression = static_cast<std::uint16_t>(Get(strBytes, nAt + 6, 2));
        folder.strReserve = strBytes.substr(nAt + 8, cabinet.nFolderReserve);
        nDataStart = std::min(nDataStart, folder.nDataOffset);
        cabinet.folders.push_back(folder);
        nAt += 8 + cabinet.nFolderReserve;
    }
    if (nFilesAt != nAt)
        return false;
    for (std::uint32_t i = 0; i < nFiles; ++i)
    {
        if (strBytes.size() < nAt + 16)
            return false;
        SCabFileEntry file;
        file.nSize = Get(strBytes, nAt, 4);
        file.nFolderOffset = Get(strBytes, nAt + 4, 4);
        file.nFolder = static_cast<std::uint16_t>(Get(strBytes, nAt + 8, 2));
        file.nDate = static_cast<std::uint16_t>(Get(strBytes, nAt + 10, 2));
        file.nTime = static_cast<std::uint16_t>(Get(strBytes, nAt + 12, 2));
        file.nAttributes = static_cast<std::uint16_t>(Get(strBytes, nAt + 14, 2));
        nAt += 16;
        if (!ReadString(strBytes, nAt, file.strName))
            return false;
        cabinet.files.push_back(file);
    }
    if (cabinet.folders.empty())
        nDataStart = static_cast<std::uint32_t>(nAt);
    if (nDataStart < nAt || nDataStart > strBytes.size())
        return false;
    for (SCabFolderEntry& folder : cabinet.folders)
        folder.nDataOffset -= nDataStart;
    cabinet.strData = strBytes.substr(nDataStart);
    return true;
}

std::string SerializeCabinet(const SCabinet& cabinet)
{
    std::string strTail;
    if (cabinet.nFlags & kFlagReserve)
    {
        Put(strTail, static_cast<std::uint32_t>(cabinet.strHeaderReserve.size()), 2);
        strTail += static_cast<char>(cabinet.nFolderReserve);
        strTail += static_cast<char>(cabinet.nDataReserve);
        strTail += cabinet.strHeaderReserve;
    }
    if (cabinet.nFlags & kFlagPrev)
        strTail += cabinet.strPrevCabinet + '\0' + cabinet.strPrevDisk + '\0';
    if (cabinet.nFlags & kFlagNext)
        strTail += cabinet.strNextCabinet + '\0' + cabinet.strNextDisk + '\0';

    const std::size_t nFolderSize = 8 + cabinet.nFolderReserve;
    const std::size_t nFilesAt = kHeaderSize + strTail.size() + cabinet.folders.size() * nFolderSize;
    std::string strFiles;
    for (const SCabFileEntry& file : cabinet.files)
    {
        Put(strFiles, file.nSize, 4);
        Put(strFiles, file.nFolderOffset, 4);
        Put(strFiles, file.nFolder, 2);
        Put(strFiles, file.nDate, 2);
        Put(strFiles, file.nTime, 2);
        Put(strFiles, file.nAttributes, 2);
        strFiles += file.strName;
        strFiles += '\0';
    }
    const std::size_t nDataAt = nFilesAt + strFiles.size();

    std::string strCab = "MSCF";
    Put(strCab, cabinet.nReserved1, 4);
    Put(strCab, static_cast<std::uint32_t>(nDataAt + cabinet.strData.size()), 4);
    Put(strCab, cabinet.nReserved2, 4);
    Put(strCab, static_cast<std::uint32_t>(nFilesAt), 4);
    Put(strCab, cabinet.nReserved3, 4);
    strCab += static_cast<char>(cabinet.nVersionMinor);
    strCab += static_cast<char>(cabinet.nVersionMajor);
    Put(strCab, static_cast<std::uint32_t>(cabinet.folders.size()), 2);
    Put(strCab, static_cast<std::uint32_t>(cabinet.files.size()), 2);
    Put(strCab, cabinet.nFlags, 2);
    Put(strCab, cabinet.nSetId, 2);
    Put(strCab, cabinet.nIndexInSet, 2);
    strCab += strTail;
    for (const SCabFolderEntry& folder : cabinet.folders)
    {
        Put(strCab, static_cast<std::uint32_t>(folder.nDataOffset + nDataAt), 4);
        Put(strCab, folder.nBlocks, 2);
        Put(strCab, folder.nCompression, 2);
        std::string strReserve = folder.strReserve;
        strReserve.resize(cabinet.nFolderReserve, '\0');
        strCab += strReserve;
    }
    strCab += strFiles;
    strCab += cabinet.strData;
    return strCab;
}

SCabLayout LayoutOf(const SCabinet& cabinet)
{
    const std::string strBytes = SerializeCabinet(cabinet);
    SCabLayout layout;
    layout.nFolderSize = 8 + cabinet.nFolderReserve;
    layout.nFilesAt = Get(strBytes, 16, 4);
    layout.nFoldersAt = layout.nFilesAt - cabinet.folders.size() * layout.nFolderSize;
    std::size_t nAt = layout.nFilesAt;
    for (const SCabFileEntry& file : cabinet.files)
    {
        layout.fileAt.push_back(nAt);
        nAt += 16 + file.strName.size() + 1;
    }
    layout.nDataAt = nAt;
    for (const SCabFolderEntry& folder : cabinet.folders)
    {
        std::size_t nBlockAt = layout.nDataAt + folder.nDataOffset;
        for (unsigned i = 0; i < folder.nBlocks && nBlockAt + 8 <= strBytes.size(); ++i)
        {
            layout.blockAt.push_back(nBlockAt);
            nBlockAt += 8 + cabinet.nDataReserve + Get(strBytes, nBlockAt + 4, 2);
        }
    }
    return layout;
}

std::vector<std::string> HostileMemberNames(const std::string& strWindowsDir, const std::string& strMarker)
{
    const std::string strLong = std::string(256, 'n');
    std::string strDeep;
    while (strDeep.size() < 300)
        strDeep += "deep" + std::to_string(strDeep.size()) + "\\";
    return {
        "..\\" + strMarker,
        "..\\..\\" + strMarker,
        "..\\..\\..\\..\\..\\..\\" + strMarker,
        "data\\..\\..\\" + strMarker,
        "data/../../" + strMarker,
        ".\\..\\" + strMarker,
        "data\\.\\..\\..\\..\\" + strMarker,
        "...\\" + strMarker,
        "\\" + strMarker,
        "/" + strMarker,
        "C:\\" + strMarker,
        "C:" + strMarker,
        "c:/" + strMarker,
        "Z:\\tmp\\" + strMarker,
        strWindowsDir + "\\" + strMarker,
        "\\\\localhost\\C$\\" + strMarker,
        "\\\\?\\C:\\" + strMarker,
        "\\\\.\\C:\\" + strMarker,
        "%WINDIR%\\" + strMarker,
        "CON",
        "con",
        "PRN",
        "AUX.txt",
        "NUL",
        "data\\NUL.txt",
        "COM1",
        "LPT1.dat",
        "CONIN$",
        "CONOUT$",
        "data\\aux",
        "readme.txt:stream",
        "data::$DATA",
        "name.",
        "name ",
        "data. \\x.txt",
        "",
        "\\",
        ".",
        "..",
        "data\\",
        "data\\\\x.txt",
        "a\x01" "b.txt",
        "tab\tname",
        "line\nbreak",
        "a*b.txt",
        "a?b.txt",
        "a<b>.txt",
        "a|b.txt",
        "a\"b.txt",
        "%s%s%n%x.txt",
        strLong,
        "data\\" + strLong + ".dat",
        strDeep + "file.txt",
        std::string(1000, 'q'),
        "\xE4\xF6\xFC\xDF.txt",
        "data\\\xFF\xFE.dat",
    };
}

bool IsPlainMemberName(const std::string& strName)
{
    if (strName.empty() || strName.size() > 150)
        return false;
    std::size_t nStart = 0;
    for (;;)
    {
        const std::size_t nEnd = std::min(strName.find('\\', nStart), strName.size());
        const std::string strPart = strName.substr(nStart, nEnd - nStart);
        if (strPart.empty() || strPart == "." || strPart == ".." || strPart.back() == '.' || strPart.back() == ' ' ||
            IsDeviceName(strPart))
            return false;
        for (const char ch : strPart)
            if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != ' ' && ch != '_' && ch != '-' && ch != '.')
                return false;
        if (nEnd == strName.size())
            return true;
        nStart = nEnd + 1;
    }
}

std::vector<SCabMemberInfo> DeclaredMembers(const std::string& strBytes)
{
    std::vector<SCabMemberInfo> members;
    SCabinet cabinet;
    if (!ParseCabinet(strBytes, cabinet))
        return members;
    for (const SCabFileEntry& file : cabinet.files)
        members.push_back({file.strName, file.nSize});
    return members;
}

std::string RandomWriterCabinet(CRandom& random, std::string& strWhat)
{
    std::vector<SCabMember> members;
    const unsigned nMembers = static_cast<unsigned>(random.Between(1, 30));
    std::size_t nTotal = 0;
    for (unsigned i = 0; i < nMembers; ++i)
    {
        std::string strName = PlainName(random);
        // One name once: a second member of the same name is a damage of its own.
        if (std::any_of(members.begin(), members.end(), [&](const SCabMember& m) { return m.strName == strName; }))
            strName = "u" + std::to_string(i) + "_" + strName.substr(strName.find_last_of('\\') + 1);
        const std::size_t nSize = random.Chance(20) ? 0 : static_cast<std::size_t>(random.Between(1, 70000));
        nTotal += nSize;
        members.emplace_back(strName, Content(random, nSize));
    }
    strWhat = "writer cabinet, " + std::to_string(nMembers) + " members, " + std::to_string(nTotal) + " bytes";
    return BuildCabinet(members);
}

std::string ManyFilesCabinet(unsigned nFiles)
{
    std::vector<SCabMember> members;
    for (unsigned i = 0; i < nFiles; ++i)
    {
        char szName[64];
        std::snprintf(szName, sizeof(szName), "pack\\group%02u\\file%03u.dat", i / 20, i);
        members.emplace_back(szName, std::string(2000 + (i * 37) % 3000, static_cast<char>('a' + i % 26)));
    }
    return BuildCabinet(members);
}

SMutatedCabinet MutateCabinet(const std::string& strBase, CRandom& random, const std::string& strWindowsDir)
{
    SMutatedCabinet result;
    SCabinet cabinet;
    if (!ParseCabinet(strBase, cabinet))
    {
        result.strBytes = strBase;
        result.strMarker = "zanto-escape-none.txt";
        result.strWhat = "base does not parse; ";
        result.strWhat += FlipBits(result.strBytes, random, 0, strBase.size());
        return result;
    }

    result.strMarker = "zanto-escape-" + std::to_string(random.Below(1000000)) + ".txt";

    // Structural changes first (they move offsets), then damage to the serialized bytes.
    const unsigned nDamages = random.Chance(75) ? 1 : static_cast<unsigned>(random.Between(2, 3));
    std::vector<unsigned> kinds;
    for (unsigned i = 0; i < nDamages; ++i)
        kinds.push_back(static_cast<unsigned>(random.Below(11)));
    std::sort(kinds.begin(), kinds.end());

    std::vector<std::string> whats;
    std::string strBytes;
    bool bSerialized = false;
    SCabLayout layout;
    for (const unsigned nKind : kinds)
    {
        if (nKind <= 2 && !bSerialized)
        {
            if (nKind == 0 && !cabinet.files.empty())
            {
                // Hostile member names, put in where real ones stood.
                const std::vector<std::string> hostile = HostileMemberNames(strWindowsDir, result.strMarker);
                const unsigned nNames = random.Chance(70) ? 1 : static_cast<unsigned>(random.Between(2, 4));
                for (unsigned i = 0; i < nNames; ++i)
                {
                    const std::size_t nFile = random.Below(cabinet.files.size());
                    const std::string& strName = random.Pick(hostile);
                    cabinet.files[nFile].strName = strName;
                    result.hostileNames.push_back(strName);
                    whats.push_back("name[" + std::to_string(nFile) + "]=" + Shown(strName));
                }
            }
            else if (nKind == 1 && !cabinet.files.empty())
            {
                // Names that clash with each other or with what the installation writes itself.
                const std::size_t nFile = random.Below(cabinet.files.size());
                const std::size_t nOther = random.Below(cabinet.files.size());
                static const std::vector<std::string> s_clashes = {"uninstall.dat", "data", "Zanto Demo.exe\\x.txt",
                                                                   "DATA\\MAPS\\CAVES.MAP", "readme.txt", "en"};
                const std::string strName =
                    random.Chance(50) ? cabinet.files[nOther].strName : random.Pick(s_clashes);
                cabinet.files[nFile].strName = strName;
                whats.push_back("name[" + std::to_string(nFile) + "]=" + Shown(strName) + " (clash)");
            }
            else if (nKind == 2 && !cabinet.files.empty())
            {
                // Huge declared sizes, of one member or of all.
                const bool bAll = random.Chance(30);
                static const std::vector<std::uint32_t> s_sizes = {0xFFFFFFFFu, 0xFFFFFFF0u, 0x80000000u, 0x7FFFFFFFu,
                                                                   0x10000000u, 0x01000000u};
                const std::uint32_t nSize = random.Pick(s_sizes);
                for (std::size_t i = 0; i < cabinet.files.size(); ++i)
                    if (bAll || i == 0)
                        cabinet.files[bAll ? i : random.Below(cabinet.files.size())].nSize = nSize;
                whats.push_back(std::string(bAll ? "every" : "one") + " declared size=" + Hex(nSize));
            }
            continue;
        }
        if (!bSerialized)
        {
            // Continuation and reserve flags change the header's length: also structural.
            if (nKind == 3 && random.Chance(40))
            {
                if (random.Chance(50))
                {
                    cabinet.nFlags |= kFlagNext;
                    cabinet.strNextCabinet = random.Chance(50) ? "next.cab" : "..\\..\\other.cab";
                    cabinet.strNextDisk = "Disk 2";
                    whats.push_back("next cabinet " + Shown(cabinet.strNextCabinet));
                }
                else
                {
                    cabinet.nFlags |= kFlagPrev;
                    cabinet.strPrevCabinet = "prev.cab";
                    cabinet.strPrevDisk = "Disk 0";
                    whats.push_back("previous cabinet");
                }
                continue;
            }
            if (nKind == 4 && random.Chance(40))
            {
                cabinet.nFlags |= kFlagReserve;
                cabinet.strHeaderReserve = std::string(random.Chance(50) ? 60000 : random.Below(300), 'r');
                cabinet.nFolderReserve = static_cast<std::uint8_t>(random.Below(256));
                cabinet.nDataReserve = 0;
                whats.push_back("reserve header " + std::to_string(cabinet.strHeaderReserve.size()) + ", folder " +
                                std::to_string(cabinet.nFolderReserve));
                continue;
            }
            strBytes = SerializeCabinet(cabinet);
            layout = LayoutOf(cabinet);
            bSerialized = true;
        }
        switch (nKind)
        {
        case 3:
            whats.push_back(DamageHeader(strBytes, random));
            break;
        case 4:
            whats.push_back(DamageFolder(strBytes, cabinet, layout, random));
            break;
        case 5:
            whats.push_back(DamageFileEntry(strBytes, cabinet, layout, random));
            break;
        case 6:
            whats.push_back(DamageBlock(strBytes, layout, random));
            break;
        case 7:
            whats.push_back(FlipBits(strBytes, random, 0, layout.nDataAt));
            break;
        case 8:
            whats.push_back(FlipBits(strBytes, random, layout.nDataAt, strBytes.size()));
            break;
        case 9:
            whats.push_back(FlipBits(strBytes, random, 0, strBytes.size()));
            break;
        default:
        {
            // Cut anywhere, or right around the boundaries where a reader changes what it reads.
            std::size_t nCut;
            if (random.Chance(50))
                nCut = random.Below(strBytes.size());
            else
            {
                std::vector<std::size_t> marks = {kHeaderSize, layout.nFoldersAt, layout.nFilesAt, layout.nDataAt};
                marks.insert(marks.end(), layout.blockAt.begin(), layout.blockAt.end());
                nCut = static_cast<std::size_t>(
                    std::max<std::int64_t>(0, static_cast<std::int64_t>(random.Pick(marks)) + random.Between(-2, 9)));
            }
            nCut = std::min(nCut, strBytes.size());
            whats.push_back("truncate " + Hex(strBytes.size()) + "->" + Hex(nCut));
            strBytes.resize(nCut);
            break;
        }
        }
    }
    if (!bSerialized)
        strBytes = SerializeCabinet(cabinet);
    result.strBytes = strBytes;
    for (std::size_t i = 0; i < whats.size(); ++i)
        result.strWhat += (i ? "; " : "") + whats[i];
    return result;
}
