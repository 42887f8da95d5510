#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "Folders.h"
#include "ProgramsFolder.h"
#include "ProtectedFolders.h"
#include "RecordedRemoval.h"
#include "RemovalRules.h"

namespace
{
const std::vector<std::string> s_protected = {
    "C:\\windows",
    "C:\\Program Files",
    "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs",
    "C:\\users\\root",
    "C:\\users\\root\\Documents",
    "D:\\Spiele\\Gemeinsam\\",
};
}

struct SProtectedCase
{
    const char* pszFolder;
    bool bProtected;
};

class ProtectedFolderTest : public testing::TestWithParam<SProtectedCase>
{
};

TEST_P(ProtectedFolderTest, NeverAWholeSystemFolderOrWhatHoldsOne)
{
    EXPECT_EQ(GetParam().bProtected, IsProtectedFolder(GetParam().pszFolder, s_protected)) << GetParam().pszFolder;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ProtectedFolderTest,
    testing::Values(SProtectedCase{"C:\\Program Files\\Zanto", false},
                    SProtectedCase{"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Zanto", false},
                    SProtectedCase{"C:\\users\\root\\Documents\\Zanto", false}, SProtectedCase{"D:\\Spiele", true},
                    SProtectedCase{"\\\\server\\share\\Zanto", false}, SProtectedCase{"", true},
                    SProtectedCase{"Zanto", true}, SProtectedCase{"\\Zanto", true}, SProtectedCase{"C:Zanto", true},
                    SProtectedCase{"C:\\", true}, SProtectedCase{"C:", true}, SProtectedCase{"c:\\\\", true},
                    SProtectedCase{"\\\\server\\share", true}, SProtectedCase{"\\\\server\\share\\", true},
                    SProtectedCase{"C:\\Windows", true}, SProtectedCase{"c:\\program files\\", true},
                    SProtectedCase{"C:\\PROGRAM FILES\\Zanto\\..", true},
                    SProtectedCase{"C:\\Program Files\\.\\Zanto", true},
                    SProtectedCase{"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs", true},
                    SProtectedCase{"C:\\ProgramData\\Microsoft\\Windows\\Start Menu", true},
                    SProtectedCase{"C:\\users", true}, SProtectedCase{"C:\\users\\root\\", true},
                    SProtectedCase{"C:/Program Files", true}, SProtectedCase{"D:\\Spiele\\Gemeinsam\\x", false}));

struct SInsideCase
{
    const char* pszPath;
    const char* pszFolder;
    bool bInside;
};

class InsideFolderTest : public testing::TestWithParam<SInsideCase>
{
};

TEST_P(InsideFolderTest, OnlyStrictlyBelowAndWithoutDotComponents)
{
    const SInsideCase& c = GetParam();
    EXPECT_EQ(c.bInside, IsInsideFolder(c.pszPath, c.pszFolder)) << c.pszPath << " in " << c.pszFolder;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, InsideFolderTest,
    testing::Values(SInsideCase{"C:\\Games\\Zanto\\a.txt", "C:\\Games\\Zanto", true},
                    SInsideCase{"c:\\games\\zanto\\data\\b.dat", "C:\\Games\\Zanto\\", true},
                    SInsideCase{"C:\\Games\\Zanto\\\xE4.txt", "C:\\Games\\Zanto", true},
                    SInsideCase{"C:\\Games\\\xC4rger\\a.txt", "C:\\Games\\\xE4rger", true},
                    SInsideCase{"C:\\Games\\Zanto", "C:\\Games\\Zanto", false},
                    SInsideCase{"C:\\Games\\Zanto2\\a.txt", "C:\\Games\\Zanto", false},
                    SInsideCase{"C:\\Games\\Zanto\\..\\x.txt", "C:\\Games\\Zanto", false},
                    SInsideCase{"C:\\Games\\x.txt", "C:\\Games\\Zanto", false},
                    SInsideCase{"a.txt", "", false}, SInsideCase{"Zanto\\a.txt", "Zanto", false}));

// After a silent removal the running uninstall program is left with the folders that hold it;
// only those that the installation made go after it, deepest first.
TEST(MadeFoldersHoldingTest, OnlyTheInstallationsFoldersUpToTheFirstItDidNotMake)
{
    const std::vector<std::string> guards = {"C:\\Program Files", "C:\\Windows"};
    using CFolders = std::vector<std::string>;
    EXPECT_EQ((CFolders{"C:\\Games\\Grindlow\\Zanto", "C:\\Games\\Grindlow"}),
              MadeFoldersHolding("C:\\Games\\Grindlow\\Zanto\\uninstall.exe",
                                 {"c:\\games\\grindlow", "C:\\Games\\Grindlow\\Zanto\\", "C:\\Games\\Grindlow\\Zanto\\data"},
                                 guards));
    // A folder that was there before stops the chain, also when a folder above it was made.
    EXPECT_EQ((CFolders{}), MadeFoldersHolding("C:\\Games\\Zanto\\uninstall.exe", {"C:\\Games"}, guards));
    // A system folder is never among them, whatever the list says.
    EXPECT_EQ((CFolders{"C:\\Program Files\\Zanto"}),
              MadeFoldersHolding("C:\\Program Files\\Zanto\\uninstall.exe", {"C:\\Program Files", "C:\\Program Files\\Zanto"},
                                 guards));
    EXPECT_EQ((CFolders{}), MadeFoldersHolding("uninstall.exe", {"C:\\Zanto"}, guards));
}

// This machine's own system and shell folders, each found here another way than the program finds
// them: every one of them, and the programs folder that the caller names, is guarded; a folder
// for a game below them is not.
TEST(RemovalGuardsTest, EveryFolderOfTheSystemAndTheShellIsGuarded)
{
    const std::string strProgramsDir = ProgramsFolder();
    const std::vector<std::string> guards = RemovalGuards(strProgramsDir);
    char szPath[MAX_PATH] = {};
    std::vector<std::string> folders;
    ASSERT_NE(0u, GetWindowsDirectoryA(szPath, MAX_PATH));
    folders.emplace_back(szPath);
    ASSERT_NE(0u, GetSystemDirectoryA(szPath, MAX_PATH));
    folders.emplace_back(szPath);
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, szPath));
    folders.emplace_back(szPath);
    folders.back().pop_back();
    for (const char* pszVariable : {"ProgramFiles", "CommonProgramFiles", "USERPROFILE", "APPDATA", "LOCALAPPDATA",
                                    "ALLUSERSPROFILE"})
    {
        const DWORD nLength = GetEnvironmentVariableA(pszVariable, szPath, MAX_PATH);
        ASSERT_TRUE(nLength > 0 && nLength < MAX_PATH) << pszVariable;
        folders.emplace_back(szPath);
    }
    folders.push_back(strProgramsDir);
    folders.push_back(strProgramsDir.substr(0, strProgramsDir.find_last_of('\\')));
    for (const std::string& strFolder : folders)
    {
        EXPECT_TRUE(IsProtectedFolder(strFolder, guards)) << strFolder;
        EXPECT_FALSE(IsProtectedFolder(strFolder + "\\Zanto", guards)) << strFolder << "\\Zanto";
    }
}

// The programs folder that the uninstall program reads itself joins the system's folders.
TEST(RemovalGuardsTest, TheCallersProgramsFolderJoinsTheSystemsFolders)
{
    const std::vector<std::string> system = ProtectedFolders();
    const std::vector<std::string> guards = RemovalGuards("D:\\Spiele\\Start");
    EXPECT_TRUE(IsProtectedFolder("D:\\Spiele\\Start", guards));
    EXPECT_TRUE(IsProtectedFolder("d:\\spiele\\start\\", guards));
    EXPECT_FALSE(IsProtectedFolder("D:\\Spiele\\Start", system));
    EXPECT_EQ(CommonProgramsFolder(), ProgramsFolder());
}
