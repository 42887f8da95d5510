#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "CopyArguments.h"
#include "ProtectedFolder.h"
#include "SelfDeletionCommand.h"
#include "InstallationLanguage.h"

// The copy finds the original's handle again in what the original wrote, whatever its value.
TEST(CopyArgumentsTest, TheHandleComesBackFromTheArguments)
{
    for (const std::uintptr_t nHandle : {std::uintptr_t{4}, std::uintptr_t{1234567}, UINTPTR_MAX})
    {
        std::uintptr_t nRead = 0;
        EXPECT_TRUE(ParseCopyArguments(CopyArguments(nHandle).c_str(), nRead)) << nHandle;
        EXPECT_EQ(nHandle, nRead);
    }
}

// Windows starts the program with no arguments; anything else that is not exactly the copy's
// form makes no copy either, so that a damaged command line never skips the hand-over.
TEST(CopyArgumentsTest, AnythingElseIsNoCopy)
{
    const char* const apszArguments[] = {
        "", "   ", "/removal-copy", "/removal-copy ", "/removal-copy 0", "/removal-copy 12x", "/removal-copy -12",
        "/removal-copy 12 13", "/REMOVAL-COPY 12", "/removal-copy 999999999999999999999999999", "12",
    };
    for (const char* pszArguments : apszArguments)
    {
        std::uintptr_t nRead = 77;
        EXPECT_FALSE(ParseCopyArguments(pszArguments, nRead)) << pszArguments;
        EXPECT_EQ(77u, nRead) << pszArguments;
    }
    std::uintptr_t nRead = 0;
    EXPECT_TRUE(ParseCopyArguments("  /removal-copy 12  ", nRead));
    EXPECT_EQ(12u, nRead);
}

// The list's language wins over the keyboard; without one, a German layout speaks German.
TEST(InstallationLanguageTest, TheListDecidesAndTheLayoutOnlyWithoutIt)
{
    struct SCase
    {
        const char* pszList;
        bool bGermanLayout;
        bool bEnglish;
    };
    const SCase aCases[] = {
        {"en", true, true}, {"en", false, true}, {"de", false, false}, {"de", true, false},
        {"", true, false},  {"", false, true},   {"fr", true, false},  {"EN", false, true},
    };
    for (const SCase& test : aCases)
        EXPECT_EQ(test.bEnglish, SpeaksEnglish(test.pszList, test.bGermanLayout))
            << test.pszList << (test.bGermanLayout ? " German layout" : " other layout");
}

TEST(ProtectedFolderTest, TheNameCarriesEveryRandomByteInHexadecimal)
{
    const unsigned char abRandom[] = {0x00, 0x1f, 0xa0, 0xff};
    EXPECT_EQ("ZantoUninstall-001fa0ff", ProtectedFolderName(abRandom, sizeof(abRandom)));
}

// Nothing that deletes the copy is found by a bare name: cmd would look in its current folder first.
TEST(SelfDeletionCommandTest, EveryProgramItStartsHasItsFullPath)
{
    const std::string strCommand =
        SelfDeletionCommand("C:\\Temp\\ZantoUninstall-0123\\ZantoUninstall.exe", "C:\\Windows\\system32");
    EXPECT_NE(std::string::npos, strCommand.find("\"C:\\Windows\\system32\\ping.exe\" -n 2 127.0.0.1"));
    EXPECT_EQ(strCommand.find("ping"), strCommand.find("ping.exe")) << strCommand;
    EXPECT_NE(std::string::npos, strCommand.find("del \"C:\\Temp\\ZantoUninstall-0123\\ZantoUninstall.exe\""));
    EXPECT_NE(std::string::npos, strCommand.find("rd \"C:\\Temp\\ZantoUninstall-0123\""));
    EXPECT_EQ(std::string::npos, strCommand.find("if exist \"C:\\Temp\\ZantoUninstall-0123\\ZantoUninstall.exe\" ("))
        << "Wine's cmd does not run a parenthesised block after an if";
}

// After a silent run the started program's file goes once it has ended, and then its folders,
// deepest first; each command of it by its full path too.
TEST(SelfDeletionCommandTest, TheStartedProgramAndItsFoldersFollowTheCopy)
{
    const std::string strCommand =
        SelfDeletionCommand("C:\\Temp\\ZantoUninstall-0123\\ZantoUninstall.exe", "C:\\Windows\\system32",
                            "C:\\Games\\Zanto\\uninstall.exe", {"C:\\Games\\Zanto", "C:\\Games"});
    const size_t nCopy = strCommand.find("del \"C:\\Temp\\ZantoUninstall-0123\\ZantoUninstall.exe\"");
    const size_t nOriginal = strCommand.find("del \"C:\\Games\\Zanto\\uninstall.exe\"");
    const size_t nInstall = strCommand.find("rd \"C:\\Games\\Zanto\"");
    const size_t nParent = strCommand.find("rd \"C:\\Games\"");
    ASSERT_NE(std::string::npos, nCopy) << strCommand;
    ASSERT_NE(std::string::npos, nOriginal) << strCommand;
    ASSERT_NE(std::string::npos, nInstall) << strCommand;
    ASSERT_NE(std::string::npos, nParent) << strCommand;
    EXPECT_LT(nCopy, nOriginal);
    EXPECT_LT(nOriginal, nInstall);
    EXPECT_LT(nInstall, nParent);
    // The pause while the started program still runs is the system's own ping too.
    EXPECT_NE(std::string::npos,
              strCommand.find("if exist \"C:\\Games\\Zanto\\uninstall.exe\" \"C:\\Windows\\system32\\ping.exe\""));
    EXPECT_EQ(std::string::npos, strCommand.find(" ping ")) << strCommand;
}
