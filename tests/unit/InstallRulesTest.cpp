#include <gtest/gtest.h>

#include <string>

#include "InstallPaths.h"
#include "ProgressPercent.h"
#include "Shortcuts.h"

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

class FullLocalPathTest : public testing::TestWithParam<SMemberCase>
{
};

TEST_P(FullLocalPathTest, OnlyADriveARootAndPlainNamesAreInstalledInto)
{
    EXPECT_EQ(GetParam().bSafe, IsFullLocalPath(GetParam().pszName)) << GetParam().pszName;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, FullLocalPathTest,
    testing::Values(SMemberCase{"C:\\Games\\Zanto", true}, SMemberCase{"C:\\Games\\Zanto\\", true},
                    SMemberCase{"C:/Games/Zanto", true}, SMemberCase{"C:/Games\\Zanto/", true},
                    SMemberCase{"C:\\\\Zanto", true}, SMemberCase{"C:\\Games\\\\Zanto", true},
                    SMemberCase{"d:\\Zanto", true}, SMemberCase{"Z:\\Sch\xF6ne Spiele\\..Zanto", true},
                    SMemberCase{"C:\\Zanto Demo 1.0", true}, SMemberCase{"C:\\console", true},
                    SMemberCase{"", false}, SMemberCase{"Zanto", false}, SMemberCase{"Games\\Zanto", false},
                    SMemberCase{"\\Spiele\\Zanto", false}, SMemberCase{"/Spiele/Zanto", false},
                    SMemberCase{"C:Zanto", false}, SMemberCase{"C:", false}, SMemberCase{"C:\\", false},
                    SMemberCase{"C:\\\\", false}, SMemberCase{"C:/", false},
                    SMemberCase{"\\\\server\\share\\x", false}, SMemberCase{"//server/share/x", false},
                    SMemberCase{"\\\\?\\C:\\Zanto", false}, SMemberCase{"\\\\.\\C:\\Zanto", false},
                    SMemberCase{"C:\\.", false}, SMemberCase{"C:\\Games\\.\\Zanto", false},
                    SMemberCase{"C:\\..\\Zanto", false}, SMemberCase{"C:\\Games\\..", false},
                    SMemberCase{"C:\\Games\\...", false}, SMemberCase{"C:\\CON", false},
                    SMemberCase{"C:\\Games\\nul.txt", false}, SMemberCase{"C:\\com1.dat\\Zanto", false},
                    SMemberCase{"C:\\LPT1.log", false}, SMemberCase{"C:\\aux \\x", false},
                    SMemberCase{"C:\\Zanto|Demo", false}, SMemberCase{"C:\\Zanto?", false},
                    SMemberCase{"C:\\Za*", false}, SMemberCase{"C:\\<Zanto>", false},
                    SMemberCase{"C:\\\"Zanto\"", false}, SMemberCase{"C:\\Zanto:stream", false},
                    SMemberCase{"C:\\Zan\tto", false}, SMemberCase{"C:\\Zanto ", false},
                    SMemberCase{"C:\\Zanto.", false}, SMemberCase{"C:\\Games \\Zanto", false},
                    SMemberCase{"1:\\Zanto", false}, SMemberCase{"\xC4:\\Zanto", false},
                    SMemberCase{"@:\\Zanto", false}, SMemberCase{"[:\\Zanto", false}));

struct SFolderFormCase
{
    const char* pszTyped;
    const char* pszForm;
};

class InstallFolderFormTest : public testing::TestWithParam<SFolderFormCase>
{
};

TEST_P(InstallFolderFormTest, OneBackslashBetweenNamesAndNoneAtTheEnd)
{
    EXPECT_EQ(GetParam().pszForm, InstallFolderForm(GetParam().pszTyped)) << GetParam().pszTyped;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, InstallFolderFormTest,
    testing::Values(SFolderFormCase{"C:\\Games\\Zanto", "C:\\Games\\Zanto"},
                    SFolderFormCase{"C:\\Games\\Zanto\\", "C:\\Games\\Zanto"},
                    SFolderFormCase{"C:/Games/Zanto/", "C:\\Games\\Zanto"},
                    SFolderFormCase{"C:\\\\Zanto", "C:\\Zanto"},
                    SFolderFormCase{"C:\\Games//\\Zanto\\\\", "C:\\Games\\Zanto"},
                    // Only folders that are installed into are reshaped; a network path keeps its
                    // leading pair.
                    SFolderFormCase{"//server/share/x", "\\\\server\\share\\x"},
                    SFolderFormCase{"C:\\", "C:\\"}, SFolderFormCase{"", ""}));

struct SMenuLengthCase
{
    bool bEnglish;
    size_t nNameLength;
    bool bAccepted;
};

class AcceptedMenuFolderTest : public testing::TestWithParam<SMenuLengthCase>
{
};

// The longest shortcut names: "\\Zanto deinstallieren.lnk" (25 characters), "\\Deinstall Zanto.lnk"
// (20). A path of 259 characters still fits the wide buffer of MAX_PATH with its terminator.
TEST_P(AcceptedMenuFolderTest, EveryShortcutOfTheLanguageMustFitMaxPath)
{
    const SMenuLengthCase& c = GetParam();
    const std::string strPrograms = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
    const std::string strMenu = "\\" + std::string(c.nNameLength, 'n');
    EXPECT_EQ(c.bAccepted, IsAcceptedMenuFolder(strPrograms, strMenu, c.bEnglish))
        << strPrograms.size() + strMenu.size() << " characters, " << (c.bEnglish ? "English" : "German");
}

INSTANTIATE_TEST_SUITE_P(Lengths, AcceptedMenuFolderTest,
                         testing::Values(SMenuLengthCase{false, 181, true}, SMenuLengthCase{false, 182, false},
                                         SMenuLengthCase{true, 186, true}, SMenuLengthCase{true, 187, false},
                                         SMenuLengthCase{true, 5000, false}));

TEST(AcceptedMenuFolderTest, RefusesWhatLeavesTheProgramsFolder)
{
    const std::string strPrograms = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
    for (const char* pszFolder : {"\\Zanto", "", "\\Games\\Zanto\\"})
        EXPECT_TRUE(IsAcceptedMenuFolder(strPrograms, pszFolder, true)) << pszFolder;
    for (const char* pszFolder : {"\\..\\Zanto", "\\Zanto a|b", "\\CON", "\\Zanto ", "\\Zanto."})
        EXPECT_FALSE(IsAcceptedMenuFolder(strPrograms, pszFolder, false)) << pszFolder;
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
