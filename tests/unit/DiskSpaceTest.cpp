#include <gtest/gtest.h>

#include "DiskSpace.h"

struct SFreeSpaceCase
{
    const char* pszName;
    DWORD nSectorsPerCluster;
    DWORD nBytesPerSector;
    DWORD nFreeClusters;
    DWORD nFreeMB;
};

class FreeMegabytesTest : public testing::TestWithParam<SFreeSpaceCase>
{
};

TEST_P(FreeMegabytesTest, CountsWholeMegabytesWithoutWrapping)
{
    const SFreeSpaceCase& c = GetParam();
    EXPECT_EQ(c.nFreeMB, FreeMegabytes(c.nSectorsPerCluster, c.nBytesPerSector, c.nFreeClusters)) << c.pszName;
}

INSTANTIATE_TEST_SUITE_P(
    Volumes, FreeMegabytesTest,
    testing::Values(SFreeSpaceCase{"one MiB in 4 KiB clusters", 8, 512, 256, 1},
                    SFreeSpaceCase{"1,048,575 bytes", 1, 1, 1048575, 0},
                    SFreeSpaceCase{"512-byte clusters still count", 1, 512, 4096, 2},
                    SFreeSpaceCase{"4 TiB", 8, 512, 1u << 30, 4u << 20},
                    SFreeSpaceCase{"16 TiB", 128, 512, 1u << 28, 16u << 20},
                    SFreeSpaceCase{"beyond 32-bit megabytes saturates", 65535, 65535, MAXDWORD, MAXDWORD},
                    SFreeSpaceCase{"empty", 8, 512, 0, 0}));

struct SRoomCase
{
    DWORD nNeededBytes;
    DWORD nFreeMB;
    bool bRoom;
};

class HasRoomTest : public testing::TestWithParam<SRoomCase>
{
};

TEST_P(HasRoomTest, NeedsStrictlyFewerMegabytesThanFree)
{
    const SRoomCase& c = GetParam();
    EXPECT_EQ(c.bRoom, HasRoom(NeededMegabytes(c.nNeededBytes), c.nFreeMB))
        << c.nNeededBytes << " bytes, " << c.nFreeMB << " MB free";
}

INSTANTIATE_TEST_SUITE_P(Sizes, HasRoomTest,
                         testing::Values(SRoomCase{5u << 20, 5, false}, SRoomCase{5u << 20, 6, true},
                                         SRoomCase{(1u << 20) - 1, 0, false}, SRoomCase{(1u << 20) - 1, 1, true},
                                         SRoomCase{MAXDWORD, 4095, false}, SRoomCase{MAXDWORD, 4096, true}));

TEST(SpaceInfoTextTest, EnglishHasColonsAndTwoTabsBeforeTheFreeFigure)
{
    EXPECT_EQ("Free space needed:\t    12 MB\nFree diskspace:\t\t  2048 MB", SpaceInfoText(true, 12, 2048));
}

TEST(SpaceInfoTextTest, GermanFreeLineHasNoColonAndOneTab)
{
    EXPECT_EQ("Ben\xF6tigter Speicherplatz:\t     3 MB\nFreier Speicherplatz\t 12345 MB", SpaceInfoText(false, 3, 12345));
}

TEST(SpaceInfoTextTest, ZeroPrintsAsSixBlanks)
{
    EXPECT_EQ("Free space needed:\t       MB\nFree diskspace:\t\t       MB", SpaceInfoText(true, 0, 0));
}

TEST(SpaceInfoTextTest, HugeFiguresStayPositive)
{
    EXPECT_EQ("Free space needed:\t  4095 MB\nFree diskspace:\t\t2147483647 MB", SpaceInfoText(true, 4095, MAXDWORD));
}
