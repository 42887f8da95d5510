#include <gtest/gtest.h>

#include "InstallPaths.h"
#include "ProgressPercent.h"

struct SPercentCase
{
    DWORD nDone;
    DWORD nNeeded;
    DWORD nPercent;
};

class ProgressPercentTest : public testing::TestWithParam<SPercentCase>
{
};

TEST_P(ProgressPercentTest, DividesByTheHundredthWithoutLimitAndNeverByZero)
{
    const SPercentCase& c = GetParam();
    EXPECT_EQ(c.nPercent, ProgressPercent(c.nDone, c.nNeeded)) << c.nDone << " of " << c.nNeeded;
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ProgressPercentTest,
    testing::Values(SPercentCase{0, 1000, 0}, SPercentCase{500, 1000, 50}, SPercentCase{999, 1000, 99},
                    // 199 / 100 = 1: the hundredth truncates, and so does the quotient.
                    SPercentCase{150, 199, 150}, SPercentCase{2000, 1000, 200},
                    SPercentCase{MAXDWORD, MAXDWORD, 100}, SPercentCase{0, 99, 0}, SPercentCase{1, 99, 100},
                    SPercentCase{5000, 0, 100}, SPercentCase{0, 0, 0}));

struct SMemberCase
{
    const char* pszName;
    bool bSafe;
};

class MemberNameTest : public testing::TestWithParam<SMemberCase>
{
};

TEST_P(MemberNameTest, OnlyPlainRelativeNamesStayInsideTheFolder)
{
    EXPECT_EQ(GetParam().bSafe, IsSafeMemberName(GetParam().pszName)) << GetParam().pszName;
}

INSTANTIATE_TEST_SUITE_P(
    Names, MemberNameTest,
    testing::Values(SMemberCase{"Zanto Demo.exe", true}, SMemberCase{"data\\maps\\caves.map", true},
                    SMemberCase{"maps.old\\a.dat", true}, SMemberCase{"..hidden", true},
                    SMemberCase{"Sch\xF6ne Gr\xFC\xDF" "e.txt", true}, SMemberCase{"console.cfg", true},
                    SMemberCase{"COM10", true}, SMemberCase{"", false}, SMemberCase{"..\\evil.txt", false},
                    SMemberCase{"data\\..\\..\\evil.txt", false}, SMemberCase{"data/../../evil.txt", false},
                    SMemberCase{"..", false}, SMemberCase{".\\a.txt", false}, SMemberCase{"\\abs.txt", false},
                    SMemberCase{"/abs.txt", false}, SMemberCase{"C:\\x.txt", false}, SMemberCase{"C:x.txt", false},
                    SMemberCase{"\\\\server\\share\\x", false}, SMemberCase{"a\\\\b.txt", false},
                    SMemberCase{"dir\\", false}, SMemberCase{"...", false}, SMemberCase{".. ", false},
                    SMemberCase{"a.txt:stream", false}, SMemberCase{"what?.txt", false},
                    SMemberCase{"tab\there", false}, SMemberCase{"CON", false}, SMemberCase{"data\\nul.txt", false},
                    SMemberCase{"Com1.dat", false}, SMemberCase{"LPT9", false}, SMemberCase{"aux .txt", false}));

class MenuFolderTest : public testing::TestWithParam<SMemberCase>
{
};

TEST_P(MenuFolderTest, StaysInsideTheProgramsFolder)
{
    EXPECT_EQ(GetParam().bSafe, IsSafeMenuFolder(GetParam().pszName)) << GetParam().pszName;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, MenuFolderTest,
    testing::Values(SMemberCase{"\\Zanto", true}, SMemberCase{"\\Games\\Zanto Demo", true}, SMemberCase{"\\Zanto\\", true},
                    SMemberCase{"", true}, SMemberCase{"\\", true}, SMemberCase{"Zanto", true},
                    SMemberCase{"\\..", false}, SMemberCase{"\\..\\..\\out", false},
                    SMemberCase{"\\Games\\..\\..\\out", false}, SMemberCase{"\\\\Zanto", false},
                    SMemberCase{"\\Zanto\\\\", false}, SMemberCase{"\\C:\\x", false}, SMemberCase{"\\Zanto a|b", false},
                    SMemberCase{"\\CON", false}, SMemberCase{"\\Zanto ", false}, SMemberCase{"\\.\\Zanto", false}));

class InstallFolderTest : public testing::TestWithParam<SMemberCase>
{
};

TEST_P(InstallFolderTest, OnlyAFullLocalPathOfPlainNames)
{
    EXPECT_EQ(GetParam().bSafe, IsFullLocalPath(GetParam().pszName)) << GetParam().pszName;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, InstallFolderTest,
    testing::Values(SMemberCase{"C:\\Games\\Zanto", true}, SMemberCase{"d:\\Zanto", true},
                    SMemberCase{"C:\\Games\\Zanto\\", true}, SMemberCase{"C:/Games/Zanto", true},
                    SMemberCase{"C:\\\\Zanto", true}, SMemberCase{"C:\\Spiele\\Sch\xF6n.1", true},
                    SMemberCase{"", false}, SMemberCase{"Zanto", false}, SMemberCase{"Games\\Zanto", false},
                    SMemberCase{"\\Spiele\\Zanto", false}, SMemberCase{"C:Zanto", false}, SMemberCase{"C:\\", false},
                    SMemberCase{"C:", false}, SMemberCase{"\\\\server\\share\\Zanto", false},
                    SMemberCase{"//server/share/Zanto", false}, SMemberCase{"\\\\?\\C:\\Zanto", false},
                    SMemberCase{"C:\\Games\\..\\Zanto", false}, SMemberCase{"C:\\.\\Zanto", false},
                    SMemberCase{"C:\\Games\\\\Zanto", false}, SMemberCase{"C:\\Games\\\\", false},
                    SMemberCase{"C:\\CON", false}, SMemberCase{"C:\\Games\\nul.txt", false},
                    SMemberCase{"C:\\COM1\\Zanto", false}, SMemberCase{"C:\\LPT9", false},
                    SMemberCase{"C:\\Games\\a|b", false}, SMemberCase{"C:\\Games\\a:b", false},
                    SMemberCase{"C:\\Games\\a*", false}, SMemberCase{"C:\\Games\\Zanto.", false},
                    SMemberCase{"C:\\Games \\Zanto", false}, SMemberCase{"1:\\Zanto", false},
                    SMemberCase{"\xC4:\\Zanto", false}));

TEST(InstallFolderTest, TheInstallationTakesOneBackslashEachWhereTheTypedFolderHadMore)
{
    EXPECT_EQ("C:\\Zanto", InstallFolderForm("C:\\\\Zanto"));
    EXPECT_EQ("C:\\Games\\Zanto", InstallFolderForm("C:/Games/Zanto/"));
    EXPECT_EQ("C:\\Games\\Zanto", InstallFolderForm("C:\\Games\\Zanto"));
    EXPECT_EQ("C:\\", InstallFolderForm("C:\\"));
}

struct SDestinationCase
{
    const char* pszInstallDir;
    const char* pszTreeFolder;
    const char* pszDestination;
};

class TreeDestinationTest : public testing::TestWithParam<SDestinationCase>
{
};

TEST_P(TreeDestinationTest, DropsOnlyTheTreesOwnTopFolder)
{
    const SDestinationCase& c = GetParam();
    EXPECT_EQ(c.pszDestination, TreeDestinationFolder(c.pszInstallDir, c.pszTreeFolder));
}

INSTANTIATE_TEST_SUITE_P(
    Trees, TreeDestinationTest,
    testing::Values(SDestinationCase{"C:\\Games\\Demo", "en", "C:\\Games\\Demo"},
                    SDestinationCase{"C:\\Games\\Demo", "ger\\docs", "C:\\Games\\Demo\\docs"},
                    SDestinationCase{"C:\\Games\\Demo", "src\\data\\maps", "C:\\Games\\Demo\\data\\maps"},
                    // Folder names that hold a tree's name are not cut.
                    SDestinationCase{"C:\\Games\\Demo", "en\\src\\ger", "C:\\Games\\Demo\\src\\ger"},
                    SDestinationCase{"C:\\Games\\Demo", "ger\\maps.old", "C:\\Games\\Demo\\maps.old"}));
