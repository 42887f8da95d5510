#include <gtest/gtest.h>

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "CabinetRun.h"
#include "CabinetWriter.h"
#include "TempFolder.h"

namespace
{
std::uint32_t Read16(const std::string& str, std::size_t nAt)
{
    return static_cast<unsigned char>(str[nAt]) | static_cast<unsigned char>(str[nAt + 1]) << 8;
}

std::uint32_t Read32(const std::string& str, std::size_t nAt)
{
    return Read16(str, nAt) | Read16(str, nAt + 2) << 16;
}
}

// --- Member names reach the extraction exactly as written ---

namespace
{
struct SNameCase
{
    const char* pszCase;
    std::string strName;
};

void PrintTo(const SNameCase& c, std::ostream* pStream)
{
    *pStream << c.pszCase;
}

class CabinetWriterNameTest : public testing::TestWithParam<SNameCase>
{
};
}

TEST_P(CabinetWriterNameTest, IteratorSeesTheNameAsWrittenAndExtractsTheContent)
{
    CTempFolder folder;
    const std::string strCab = folder.Path() + "\\names.cab";
    const std::string strContent = "content of " + GetParam().strName;
    ASSERT_TRUE(WriteCabinet(strCab, {{GetParam().strName, strContent}}));

    CCabinetRun run(folder.Path());
    EXPECT_TRUE(run.Iterate(strCab)) << run.m_dwError;
    EXPECT_EQ((std::vector<SSeen>{CabinetInfo(), InCabinet(GetParam().strName, static_cast<DWORD>(strContent.size())),
                                  Extracted()}),
              run.m_seen);
    EXPECT_EQ(strContent, ReadBytes(run.Target(0)));
}

INSTANTIATE_TEST_SUITE_P(
    Names, CabinetWriterNameTest,
    testing::Values(SNameCase{"plain", "readme.txt"},
                    SNameCase{"inner folders", "data\\levels\\1.dat"},
                    SNameCase{"parent folder", "..\\evil.txt"},
                    SNameCase{"leading backslash", "\\abs.txt"},
                    SNameCase{"drive letter", "C:\\x.txt"},
                    SNameCase{"parents inside", "a\\..\\..\\b.txt"},
                    SNameCase{"device name", "CON"},
                    SNameCase{"forward slash", "a/b.txt"},
                    SNameCase{"Windows-1252 letters", "Gr\xFC\xDF" "e \xC4rger.txt"},
                    SNameCase{"longer than MAX_PATH", std::string(300, 'n') + ".txt"}),
    [](const testing::TestParamInfo<SNameCase>& info) { return std::to_string(info.index); });

// --- Sizes across the 32 KiB blocks ---

TEST(CabinetWriterTest, ExtractsMembersOfEverySizeAcrossBlockBoundaries)
{
    CTempFolder folder;
    const std::string strCab = folder.Path() + "\\sizes.cab";
    const std::vector<std::size_t> sizes = {0, 1, 32767, 32768, 32769, 100000, 5};
    std::vector<SCabMember> members;
    std::vector<SSeen> expected = {CabinetInfo()};
    for (std::size_t i = 0; i < sizes.size(); ++i)
    {
        members.push_back({"m" + std::to_string(i), Pattern(sizes[i], static_cast<int>(i))});
        expected.push_back(InCabinet(members.back().strName, static_cast<DWORD>(sizes[i])));
        expected.push_back(Extracted());
    }
    ASSERT_TRUE(WriteCabinet(strCab, members));

    CCabinetRun run(folder.Path());
    EXPECT_TRUE(run.Iterate(strCab)) << run.m_dwError;
    EXPECT_EQ(expected, run.m_seen);
    for (std::size_t i = 0; i < members.size(); ++i)
        EXPECT_TRUE(members[i].strContent == ReadBytes(run.Target(static_cast<int>(i)))) << "member " << i;
}

TEST(CabinetWriterTest, AnEmptyCabinetHasNoMembers)
{
    CTempFolder folder;
    const std::string strCab = folder.Path() + "\\empty.cab";
    ASSERT_TRUE(WriteCabinet(strCab, {}));

    CCabinetRun run(folder.Path());
    EXPECT_TRUE(run.Iterate(strCab)) << run.m_dwError;
    EXPECT_EQ(std::vector<SSeen>{CabinetInfo()}, run.m_seen);
}

// --- The header fields that the iteration does not check ---

TEST(CabinetWriterLayoutTest, HeaderFolderAndEntriesDescribeTheFile)
{
    const std::string strCab = BuildCabinet({{"a.txt", "abc"}, {"b\\c.txt", Pattern(40000, 1)}});

    EXPECT_EQ("MSCF", strCab.substr(0, 4));
    EXPECT_EQ(strCab.size(), Read32(strCab, 8));  // cbCabinet
    EXPECT_EQ(36u + 8u, Read32(strCab, 16));      // coffFiles
    EXPECT_EQ(3u, static_cast<unsigned char>(strCab[24]));
    EXPECT_EQ(1u, static_cast<unsigned char>(strCab[25]));
    EXPECT_EQ(1u, Read16(strCab, 26));            // cFolders
    EXPECT_EQ(2u, Read16(strCab, 28));            // cFiles
    EXPECT_EQ(0u, Read16(strCab, 30));            // flags

    const std::size_t nFirstFile = 44;
    const std::size_t nSecondFile = nFirstFile + 16 + sizeof("a.txt");
    const std::size_t nData = nSecondFile + 16 + sizeof("b\\c.txt");
    EXPECT_EQ(nData, Read32(strCab, 36));         // coffCabStart
    EXPECT_EQ(2u, Read16(strCab, 40));            // cCFData: 40003 bytes in two blocks
    EXPECT_EQ(0u, Read16(strCab, 42));            // stored

    EXPECT_EQ(3u, Read32(strCab, nFirstFile));
    EXPECT_EQ(0u, Read32(strCab, nFirstFile + 4));
    EXPECT_EQ(40000u, Read32(strCab, nSecondFile));
    EXPECT_EQ(3u, Read32(strCab, nSecondFile + 4));
    for (std::size_t nEntry : {nFirstFile, nSecondFile})
    {
        EXPECT_EQ(0u, Read16(strCab, nEntry + 8));                // iFolder
        EXPECT_EQ(0u, Read16(strCab, nEntry + 14) & 0x80);        // names are not UTF-8
    }
    EXPECT_EQ("a.txt", std::string(strCab.c_str() + nFirstFile + 16));

    EXPECT_EQ(32768u, Read16(strCab, nData + 4));
    EXPECT_EQ(32768u, Read16(strCab, nData + 6));
    const std::size_t nSecondBlock = nData + 8 + 32768;
    EXPECT_EQ(40003u - 32768u, Read16(strCab, nSecondBlock + 4));
    EXPECT_EQ(40003u - 32768u, Read16(strCab, nSecondBlock + 6));
    EXPECT_EQ(strCab.size(), nSecondBlock + 8 + (40003 - 32768));
}

TEST(CabinetWriterLayoutTest, AContinuedCabinetNamesTheNextAndSplitsItsLastBlock)
{
    SCabOptions options;
    options.bContinued = true;
    const std::string strCab = BuildCabinet({{"a.txt", "abc"}, {"big.dat", Pattern(1000, 2)}}, options);

    EXPECT_EQ(strCab.size(), Read32(strCab, 8));
    EXPECT_EQ(2u, Read16(strCab, 30)); // cfhdrNEXT_CABINET
    EXPECT_EQ(std::string("next.cab\0Disk 2\0", 16), strCab.substr(36, 16));
    const std::size_t nFolder = 36 + 16;
    EXPECT_EQ(nFolder + 8, Read32(strCab, 16));

    const std::size_t nSecondFile = nFolder + 8 + 16 + sizeof("a.txt");
    EXPECT_EQ(1000u, Read32(strCab, nSecondFile));
    EXPECT_EQ(0xFFFEu, Read16(strCab, nSecondFile + 8)); // continued to the next cabinet

    const std::size_t nData = Read32(strCab, nFolder);
    EXPECT_EQ(2u, Read16(strCab, nFolder + 4));
    EXPECT_EQ(3u, Read16(strCab, nData + 4));
    EXPECT_EQ(3u, Read16(strCab, nData + 6));
    const std::size_t nSplitBlock = nData + 8 + 3;
    EXPECT_EQ(500u, Read16(strCab, nSplitBlock + 4));
    EXPECT_EQ(0u, Read16(strCab, nSplitBlock + 6));
    EXPECT_EQ(Pattern(1000, 2).substr(0, 500), strCab.substr(nSplitBlock + 8));
}

TEST(CabinetWriterLayoutTest, TruncationAndDeclaredSizeChangeOnlyWhatTheySay)
{
    const std::vector<SCabMember> members = {{"a.txt", "abcdef"}};
    const std::string strWhole = BuildCabinet(members);
    SCabOptions options;
    options.nTruncateTo = 50;
    EXPECT_EQ(strWhole.substr(0, 50), BuildCabinet(members, options));
    options.nTruncateTo = strWhole.size() + 10;
    EXPECT_EQ(strWhole, BuildCabinet(members, options));

    // The members after a huge one keep their places.
    const std::string strTwo = BuildCabinet({{"a.txt", "abcdef"}, {"b.txt", "xyz"}});
    std::string strHuge = BuildCabinet({{"a.txt", "abcdef", 0xFFFFFFF0u}, {"b.txt", "xyz"}});
    EXPECT_EQ(0xFFFFFFF0u, Read32(strHuge, 44));
    strHuge.replace(44, 4, strTwo, 44, 4);
    EXPECT_EQ(strTwo, strHuge);
}

TEST(FlipBitsTest, ChangesOnlyTheByteItIsGiven)
{
    CTempFolder folder;
    const std::string strCab = folder.Path() + "\\flip.cab";
    ASSERT_TRUE(WriteCabinet(strCab, {{"a.txt", "abcdef"}}));
    const std::string strBefore = ReadBytes(strCab);
    EXPECT_FALSE(FlipBits(strCab, strBefore.size(), 0x01));
    EXPECT_FALSE(FlipBits(folder.Path() + "\\missing.cab", 0, 0x01));
    EXPECT_EQ(strBefore, ReadBytes(strCab));
    EXPECT_TRUE(FlipBits(strCab, strBefore.size() - 1, 0x01));
    EXPECT_EQ(strBefore.substr(0, strBefore.size() - 1) + "g", ReadBytes(strCab));
}
