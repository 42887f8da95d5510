#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "CabinetHeader.h"
#include "CabinetRun.h"
#include "CabinetWriter.h"
#include "TempFolder.h"

// What SetupIterateCabinetA does with damaged cabinets, as measured with Wine 8. Wine reports every
// extraction it began as done without error, also one that ran out of data: only the result of
// SetupIterateCabinetA tells the failure, and the thread's last error is then 0. The suites named
// WineReader... characterise Wine's reader, not this program: the extraction's own checks rest on
// what they show, and a Wine that reads otherwise fails them first.

TEST(WineReaderHugeSizeTest, IsListedWithTheDeclaredSizeAndFailsAfterWritingTheDataThereIs)
{
    CTempFolder folder;
    const std::string strCab = folder.Path() + "\\huge.cab";
    ASSERT_TRUE(WriteCabinet(strCab, {{"a.txt", "abc"}, {"huge.dat", "0123456789", 0xFFFFFFF0u}}));

    CCabinetRun skip;
    EXPECT_TRUE(skip.Iterate(strCab)) << skip.m_dwError;
    EXPECT_EQ((std::vector<SSeen>{CabinetInfo(), InCabinet("a.txt", 3), InCabinet("huge.dat", 0xFFFFFFF0u)}),
              skip.m_seen);

    CCabinetRun run(folder.Path());
    EXPECT_FALSE(run.Iterate(strCab));
    EXPECT_EQ((std::vector<SSeen>{CabinetInfo(), InCabinet("a.txt", 3), Extracted(),
                                  InCabinet("huge.dat", 0xFFFFFFF0u), Extracted()}),
              run.m_seen);
    EXPECT_EQ(static_cast<DWORD>(NO_ERROR), run.m_dwError);
    EXPECT_EQ("abc", ReadBytes(run.Target(0)));
    EXPECT_EQ("0123456789", ReadBytes(run.Target(1)));
}

namespace
{
struct STruncationCase
{
    const char* pszCase;
    std::size_t nTruncateTo;
    std::vector<SSeen> seen;
    std::vector<std::size_t> extractedSizes; // of the target files that exist afterwards
};

void PrintTo(const STruncationCase& c, std::ostream* pStream)
{
    *pStream << c.pszCase;
}

class WineReaderTruncationTest : public testing::TestWithParam<STruncationCase>
{
};
}

TEST_P(WineReaderTruncationTest, FailsAfterTheMembersThatCameBeforeTheCut)
{
    const STruncationCase& c = GetParam();
    CTempFolder folder;
    const std::string strCab = folder.Path() + "\\cut.cab";
    const std::vector<SCabMember> members = {{"a.txt", "abcdef"}, {"b.txt", Pattern(40000, 3)}};
    SCabOptions options;
    options.nTruncateTo = c.nTruncateTo;
    ASSERT_TRUE(WriteCabinet(strCab, members, options));

    CCabinetRun run(folder.Path());
    EXPECT_FALSE(run.Iterate(strCab)) << c.pszCase;
    EXPECT_EQ(static_cast<DWORD>(NO_ERROR), run.m_dwError) << c.pszCase;
    EXPECT_EQ(c.seen, run.m_seen) << c.pszCase;
    for (std::size_t i = 0; i < c.extractedSizes.size(); ++i)
        EXPECT_TRUE(members[i].strContent.substr(0, c.extractedSizes[i]) == ReadBytes(run.Target(static_cast<int>(i))))
            << c.pszCase << ", member " << i;
    EXPECT_FALSE(FileExists(run.Target(static_cast<int>(c.extractedSizes.size())))) << c.pszCase;
}

// That cabinet: header 0-35, folder 36-43, entries 44-65 and 66-87, first block header 88, its data
// 96-32863 (a.txt 96-101), second block header 32864, its data 32872-40109.
const std::vector<SSeen> nothingSeen;
const std::vector<SSeen> onlyTheCabinet = {CabinetInfo()};
const std::vector<SSeen> firstBegun = {CabinetInfo(), InCabinet("a.txt", 6), Extracted()};
const std::vector<SSeen> bothBegun = {CabinetInfo(), InCabinet("a.txt", 6), Extracted(), InCabinet("b.txt", 40000),
                                      Extracted()};

INSTANTIATE_TEST_SUITE_P(
    Cuts, WineReaderTruncationTest,
    testing::Values(STruncationCase{"empty file", 0, nothingSeen, {}},
                    STruncationCase{"inside the header", 20, nothingSeen, {}},
                    STruncationCase{"after the header", 36, onlyTheCabinet, {}},
                    STruncationCase{"inside the folder", 40, onlyTheCabinet, {}},
                    STruncationCase{"inside the first entry", 50, onlyTheCabinet, {}},
                    // The cut name is read with whatever follows it in memory; the first member
                    // fails before that name is shown.
                    STruncationCase{"inside the second name", 84, firstBegun, {0}},
                    STruncationCase{"after the entries", 88, firstBegun, {0}},
                    STruncationCase{"inside the first block header", 92, firstBegun, {0}},
                    STruncationCase{"inside the first member's data", 99, firstBegun, {0}},
                    STruncationCase{"inside the first block", 20000, firstBegun, {0}},
                    STruncationCase{"inside the second block", 40000, bothBegun, {6, 32762}},
                    STruncationCase{"one byte short", 40109, bothBegun, {6, 32762}}),
    [](const testing::TestParamInfo<STruncationCase>& info) { return std::to_string(info.index); });

namespace
{
struct SContinuationCase
{
    const char* pszCase;
    std::vector<UINT> answers;
    int nAsked;
};

void PrintTo(const SContinuationCase& c, std::ostream* pStream)
{
    *pStream << c.pszCase;
}

class WineReaderContinuationTest : public testing::TestWithParam<SContinuationCase>
{
};
}

TEST_P(WineReaderContinuationTest, AsksForTheNextCabinetWhenTheSplitBlockIsReached)
{
    const SContinuationCase& c = GetParam();
    CTempFolder folder;
    const std::string strCab = folder.Path() + "\\first.cab";
    SCabOptions options;
    options.bContinued = true;
    ASSERT_TRUE(WriteCabinet(strCab, {{"a.txt", "abc"}, {"big.dat", Pattern(1000, 4)}}, options));

    // Listing alone never reaches the split block.
    CCabinetRun skip;
    EXPECT_TRUE(skip.Iterate(strCab)) << skip.m_dwError;
    EXPECT_EQ((std::vector<SSeen>{CabinetInfo(), InCabinet("a.txt", 3), InCabinet("big.dat", 1000)}), skip.m_seen);

    CCabinetRun run(folder.Path());
    run.m_newCabinetAnswers = c.answers;
    EXPECT_FALSE(run.Iterate(strCab)) << c.pszCase;
    std::vector<SSeen> expected = {CabinetInfo(), InCabinet("a.txt", 3), Extracted(), InCabinet("big.dat", 1000)};
    expected.insert(expected.end(), c.nAsked, NeedNewCabinet("next.cab"));
    expected.push_back(Extracted());
    EXPECT_EQ(expected, run.m_seen) << c.pszCase;
    EXPECT_EQ("Disk 2", run.m_strNextDisk) << c.pszCase;
    // Not the callback's answer: Wine's clean-up after the abort sets its own.
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), run.m_dwError) << c.pszCase;
    EXPECT_EQ("abc", ReadBytes(run.Target(0))) << c.pszCase;
    EXPECT_TRUE(FileExists(run.Target(1))) << c.pszCase;
    EXPECT_EQ("", ReadBytes(run.Target(1))) << c.pszCase;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, WineReaderContinuationTest,
    testing::Values(SContinuationCase{"cancelled", {ERROR_CANCELLED}, 1},
                    SContinuationCase{"another error", {ERROR_FILE_NOT_FOUND}, 1},
                    // NO_ERROR without a new path: Wine looks beside the first cabinet and asks again.
                    SContinuationCase{"missing next cabinet", {NO_ERROR, NO_ERROR, ERROR_CANCELLED}, 3}),
    [](const testing::TestParamInfo<SContinuationCase>& info) { return std::to_string(info.index); });

namespace
{
struct SBitFlipCase
{
    const char* pszCase;
    std::size_t nOffset; // in a cabinet with the one member "a.txt" = "abcdef"; its data starts at 74
    unsigned char nMask;
    bool bResult;
    std::vector<SSeen> seen;
    std::string strExtracted;
};

void PrintTo(const SBitFlipCase& c, std::ostream* pStream)
{
    *pStream << c.pszCase;
}

class WineReaderBitFlipTest : public testing::TestWithParam<SBitFlipCase>
{
};
}

TEST_P(WineReaderBitFlipTest, ChangesTheIterationAsTheFlippedFieldSays)
{
    const SBitFlipCase& c = GetParam();
    CTempFolder folder;
    const std::string strCab = folder.Path() + "\\flip.cab";
    ASSERT_TRUE(WriteCabinet(strCab, {{"a.txt", "abcdef"}}));
    ASSERT_TRUE(FlipBits(strCab, c.nOffset, c.nMask));

    CCabinetRun run(folder.Path());
    EXPECT_EQ(c.bResult, run.Iterate(strCab)) << c.pszCase;
    EXPECT_EQ(c.seen, run.m_seen) << c.pszCase;
    EXPECT_EQ(c.strExtracted, ReadBytes(run.Target(0))) << c.pszCase;
}

const std::vector<SSeen> oneMember = {CabinetInfo(), InCabinet("a.txt", 6), Extracted()};

INSTANTIATE_TEST_SUITE_P(
    Flips, WineReaderBitFlipTest,
    testing::Values(SBitFlipCase{"signature", 0, 0x20, false, nothingSeen, ""},
                    SBitFlipCase{"major version 3", 25, 0x02, false, nothingSeen, ""},
                    SBitFlipCase{"data byte, unnoticed without a checksum", 76, 0x01, true, oneMember, "abbdef"},
                    SBitFlipCase{"uncompressed size of the block", 72, 0x01, false, oneMember, ""},
                    SBitFlipCase{"compression type MSZIP", 42, 0x01, false, oneMember, ""},
                    SBitFlipCase{"declared size one more", 44, 0x01, false,
                                 {CabinetInfo(), InCabinet("a.txt", 7), Extracted()}, "abcdef"}),
    [](const testing::TestParamInfo<SBitFlipCase>& info) { return std::to_string(info.index); });

// The count of members that the extraction holds the offered ones against.
TEST(CabinetHeaderTest, GivesTheDeclaredMemberCountOfACabinetOnly)
{
    std::vector<SCabMember> members;
    for (int i = 0; i < 300; ++i)
        members.emplace_back("m" + std::to_string(i) + ".txt", "x");
    const std::string strCabinet = BuildCabinet(members);
    const auto* pBytes = reinterpret_cast<const unsigned char*>(strCabinet.data());
    unsigned nMembers = 0;
    EXPECT_TRUE(ReadCabinetMemberCount(pBytes, strCabinet.size(), nMembers));
    EXPECT_EQ(300u, nMembers);

    EXPECT_FALSE(ReadCabinetMemberCount(pBytes, 29, nMembers)) << "cut within the count";
    std::string strOther = strCabinet;
    strOther[3] = 'G';
    EXPECT_FALSE(ReadCabinetMemberCount(reinterpret_cast<const unsigned char*>(strOther.data()), strOther.size(), nMembers));
}

// The directory that the extraction checks before it hands the cabinet to the system's reader.
TEST(CabinetDirectoryTest, OnlyMembersInTheCabinetsOwnFoldersPass)
{
    // The writer's cabinet: the 36-byte header, one folder entry, then the members ("a.txt" first).
    const std::string strSound = BuildCabinet({{"a.txt", "abc"}, {"data\\b.txt", "def"}});
    const std::size_t nFirstMember = 36 + 8;
    struct SDirectoryCase
    {
        const char* pszCase;
        std::size_t nOffset;
        std::string strBytes; // written there
        std::size_t nCutTo;   // the directory's bytes handed over; 0 for all
        bool bSound;
    };
    const SDirectoryCase aCases[] = {
        {"as written", 0, "", 0, true},
        {"no folder declared", 26, std::string(1, '\0'), 0, false},
        {"member in a second folder", nFirstMember + 8, std::string("\x01\x00", 2), 0, false},
        {"member continued from a previous cabinet", nFirstMember + 8, std::string("\xFD\xFF", 2), 0, false},
        {"member continued into the next cabinet", nFirstMember + 8, std::string("\xFE\xFF", 2), 0, false},
        {"previous cabinet named in the flags", 30, std::string("\x01\x00", 2), 0, false},
        {"folder data beyond the file", 36, std::string("\xFF\xFF\xFF\x7F", 4), 0, false},
        {"member entries beyond any folder entries", 16, std::string("\x00\x00\x00\x40", 4), 0, false},
        {"member entries cut short", 0, "", nFirstMember + 10, false},
        {"name without its end", 0, "", nFirstMember + 16 + 3, false},
    };
    for (const SDirectoryCase& test : aCases)
    {
        SCOPED_TRACE(test.pszCase);
        std::string strCabinet = strSound;
        strCabinet.replace(test.nOffset, test.strBytes.size(), test.strBytes);
        const auto* pBytes = reinterpret_cast<const unsigned char*>(strCabinet.data());
        const std::uint64_t nLimit = CabinetDirectoryLimit(pBytes, strCabinet.size());
        const std::size_t nDirectory = test.nCutTo != 0 ? test.nCutTo
                                                         : static_cast<std::size_t>(std::min<std::uint64_t>(nLimit, strCabinet.size()));
        EXPECT_EQ(test.bSound, nLimit != 0 && IsSoundCabinetDirectory(pBytes, nDirectory, strCabinet.size()));
    }
}
