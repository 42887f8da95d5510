#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "InstallLog.h"
#include "TempFolder.h"

// Every entry is on disk as soon as it is taken, in the order taken, before anything it names is made.
TEST(InstallLogTest, EachEntryIsOnDiskBeforeTheCallerGoesOn)
{
    CTempFolder temp;
    CInstallLog log;
    ASSERT_TRUE(log.AddFolder("C:\\Games\\Zanto"));
    ASSERT_TRUE(log.SetLanguage("de"));
    ASSERT_TRUE(log.BeginFile("list.dat"));
    EXPECT_EQ("ZantoSetup install log 2\r\nD C:\\Games\\Zanto\r\nL de\r\n", CTempFolder::ReadFile("list.dat"));

    ASSERT_TRUE(log.AddFile("C:\\Games\\Zanto\\Sch\xF6n.txt"));
    EXPECT_EQ("ZantoSetup install log 2\r\nD C:\\Games\\Zanto\r\nL de\r\nF C:\\Games\\Zanto\\Sch\xF6n.txt\r\n",
              CTempFolder::ReadFile("list.dat"));
    ASSERT_TRUE(log.AddKept("C:\\Games\\Zanto\\readme.txt", "C:\\Games\\Zanto\\readme.txt.zanto-kept"));
    log.EndFile();

    CInstallLog loaded;
    ASSERT_TRUE(loaded.Load("list.dat"));
    EXPECT_EQ(log.Folders(), loaded.Folders());
    EXPECT_EQ(log.Files(), loaded.Files());
    ASSERT_EQ(1u, loaded.KeptFiles().size());
    EXPECT_EQ("C:\\Games\\Zanto\\readme.txt.zanto-kept", loaded.KeptFiles()[0].strKept);
    EXPECT_TRUE(loaded.KeptFiles()[0].bInherited) << "what a loaded list kept belongs to an earlier run";
    EXPECT_EQ("de", loaded.Language());
    EXPECT_TRUE(loaded.Owns("c:\\games\\zanto\\README.TXT")) << "a kept file's place is the installation's";
    EXPECT_TRUE(loaded.Owns("C:\\Games\\Zanto\\Sch\xD6N.TXT"));
    EXPECT_FALSE(loaded.Owns("C:\\Games\\Zanto"));
}

// A process ended in the middle of a line leaves a line that names nothing made: it is dropped,
// and the run that takes the list over goes on after the last complete line.
TEST(InstallLogTest, ATakenOverListGoesOnAfterItsLastCompleteLine)
{
    for (const char* pszHeader : {"ZantoSetup install log 1", "ZantoSetup install log 2"})
    {
        SCOPED_TRACE(pszHeader);
        CTempFolder temp;
        const std::string strStart = std::string(pszHeader) + "\r\nD C:\\Z\r\nF C:\\Z\\a.txt\r\n";
        CTempFolder::WriteFile("list.dat", strStart + "F C:\\Z\\b.t");

        CInstallLog log;
        ASSERT_TRUE(log.Load("list.dat"));
        EXPECT_EQ((std::vector<std::string>{"C:\\Z\\a.txt"}), log.Files());
        ASSERT_TRUE(log.SetLanguage("en"));
        ASSERT_TRUE(log.BeginFile("list.dat"));
        ASSERT_TRUE(log.AddFile("C:\\Z\\c.txt"));
        log.EndFile();
        EXPECT_EQ(strStart + "L en\r\nF C:\\Z\\c.txt\r\n", CTempFolder::ReadFile("list.dat"));
    }
}

TEST(InstallLogTest, AnythingElseIsNoListAndRemovalTrustsNoneOfIt)
{
    CTempFolder temp;
    const char* const apszDamaged[] = {
        "",
        "not a list\r\n",
        "ZantoSetup install log 3\r\nF C:\\a\r\n",
        "ZantoSetup install log 2\r\nX C:\\a\r\n",
        "ZantoSetup install log 2\r\nF\r\n",
        "ZantoSetup install log 2\r\nK C:\\a\r\n",
        "ZantoSetup install log 2\r\nF C:\\a\tb\r\n",
        "ZantoSetup install log 2\r\nF C:\\a\nF C:\\b\r\n",
        // "/" reaches behind a folder link past the checks that look for backslashes.
        "ZantoSetup install log 2\r\nF C:\\Games\\Zanto/j/x\r\n",
        "ZantoSetup install log 2\r\nD C:\\Games\\Zanto/j\r\n",
        "ZantoSetup install log 2\r\nK C:\\Games\\Zanto\\a.txt\tC:\\Games\\Zanto/j/b.txt\r\n",
        // A kept file is never anything but the file's own kept name beside it.
        "ZantoSetup install log 2\r\nK C:\\Games\\Zanto\\a.txt\tC:\\Users\\me\\secret.txt\r\n",
        "ZantoSetup install log 2\r\nK C:\\Games\\Zanto\\a.txt\tC:\\Games\\Zanto\\b.txt\r\n",
        "ZantoSetup install log 2\r\nK C:\\Games\\Zanto\\a.txt\tC:\\Games\\Zanto\\sub\\a.txt.zanto-kept\r\n",
    };
    CInstallLog loaded;
    for (const char* pszDamaged : apszDamaged)
    {
        SCOPED_TRACE(pszDamaged);
        CTempFolder::WriteFile("list.dat", pszDamaged);
        EXPECT_FALSE(loaded.Load("list.dat"));
        EXPECT_FALSE(loaded.IsKnown());
        EXPECT_TRUE(loaded.Files().empty());
    }
    EXPECT_FALSE(loaded.Load("missing.dat"));
    EXPECT_FALSE(loaded.IsKnown());
}

// An entry that cannot be written is not taken: the caller must not make what it names.
TEST(InstallLogTest, AnEntryThatCannotBeWrittenIsNotTaken)
{
    CTempFolder temp;
    CInstallLog log;
    ASSERT_TRUE(log.BeginFile("list.dat"));
    EXPECT_FALSE(log.AddFile("C:\\Z\\tab\there.txt"));
    EXPECT_FALSE(log.AddFile(""));
    EXPECT_TRUE(log.Files().empty());
    EXPECT_FALSE(log.Owns("C:\\Z\\tab\there.txt"));
    log.EndFile();
    EXPECT_EQ("ZantoSetup install log 2\r\n", CTempFolder::ReadFile("list.dat"));
}

// The installation's own entries are written with backslashes, whatever separator they came with.
TEST(InstallLogTest, EntriesAreWrittenWithBackslashesOnly)
{
    CTempFolder temp;
    CInstallLog log;
    ASSERT_TRUE(log.BeginFile("list.dat"));
    ASSERT_TRUE(log.AddFolder("C:\\Games/Zanto"));
    ASSERT_TRUE(log.AddFile("C:\\Games/Zanto/a.txt"));
    ASSERT_TRUE(log.AddKept("C:\\Games/Zanto/b.txt", "C:\\Games\\Zanto\\b.txt.zanto-kept2"));
    EXPECT_FALSE(log.AddKept("C:\\Games\\Zanto\\c.txt", "C:\\Games\\Zanto\\d.txt"));
    log.EndFile();
    const std::string strList = CTempFolder::ReadFile("list.dat");
    EXPECT_EQ("ZantoSetup install log 2\r\nD C:\\Games\\Zanto\r\nF C:\\Games\\Zanto\\a.txt\r\n"
              "K C:\\Games\\Zanto\\b.txt\tC:\\Games\\Zanto\\b.txt.zanto-kept2\r\n",
              strList);
    CInstallLog loaded;
    EXPECT_TRUE(loaded.Load("list.dat"));
    EXPECT_TRUE(loaded.Owns("C:\\Games\\Zanto\\a.txt"));
}
