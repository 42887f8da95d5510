#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CreatePath.h"
#include "InstallLog.h"
#include "TempFolder.h"
#include "UniqueHandle.h"
#include "WizardHarness.h"

namespace
{
bool Exists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}
}

TEST(CreatePathTest, MakesTheFoldersUpToTheLastBackslashAndListsThem)
{
    CTempFolder temp;
    const std::string strBase = temp.Path();
    CInstallLog log;

    EXPECT_EQ(0u, CreatePath((strBase + "\\a\\b\\c.txt").c_str(), &log));
    EXPECT_TRUE(Exists(strBase + "\\a\\b"));
    EXPECT_FALSE(Exists(strBase + "\\a\\b\\c.txt"));
    EXPECT_EQ((std::vector<std::string>{strBase + "\\a", strBase + "\\a\\b"}), log.Folders());

    EXPECT_EQ(0u, CreatePath((strBase + "\\a\\b\\c\\").c_str(), &log));
    EXPECT_TRUE(Exists(strBase + "\\a\\b\\c"));
    EXPECT_EQ(3u, log.Folders().size()) << "folders that exist are not listed again";

    EXPECT_EQ(0u, CreatePath("nobackslash.txt", &log));
    EXPECT_FALSE(Exists("nobackslash.txt"));

    // A file in the way of a folder counts as present; the extraction into it fails later.
    CTempFolder::WriteFile(strBase + "\\file", "x");
    EXPECT_EQ(0u, CreatePath((strBase + "\\file\\x.txt").c_str(), &log));
    EXPECT_EQ(3u, log.Folders().size());
}

TEST(CreatePathTest, RefusesAPathLongerThanItsBufferAndCreatesNothing)
{
    CTempFolder temp;
    const std::string strLong = temp.Path() + "\\d\\" + std::string(MAX_PATH, 'x') + "\\f.txt";
    CInstallLog log;
    EXPECT_EQ(static_cast<UINT>(ERROR_FILENAME_EXCED_RANGE), CreatePath(strLong.c_str(), &log));
    EXPECT_FALSE(Exists(temp.Path() + "\\d"));
    EXPECT_TRUE(log.Folders().empty());
}

TEST(InstallLogTest, SavedListReadsBackAndAnythingElseIsUnknown)
{
    CTempFolder temp;
    CInstallLog log;
    log.AddFolder("C:\\Games\\Zanto");
    log.AddFolder("C:\\Games\\Zanto\\data");
    log.AddFile("C:\\Games\\Zanto\\Sch\xF6n.txt");
    ASSERT_TRUE(log.Save("list.dat"));

    CInstallLog loaded;
    ASSERT_TRUE(loaded.Load("list.dat"));
    EXPECT_TRUE(loaded.IsKnown());
    EXPECT_EQ(log.Folders(), loaded.Folders());
    EXPECT_EQ(log.Files(), loaded.Files());

    const char* const apszDamaged[] = {
        "",
        "not a list\r\n",
        "ZantoSetup install log 1\r\nX C:\\a\r\n",
        "ZantoSetup install log 1\r\nF C:\\a",
        "ZantoSetup install log 1\r\nF\r\n",
        "ZantoSetup install log 2\r\nF C:\\a\r\n",
    };
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

// The language tree lands in the install folder without its top folder, whatever the folder of
// the medium is called: names that hold "src", "ger" or "en" change nothing.
TEST(TreeCopyTest, FilesLandByTheirPlaceInTheTreeWhateverTheMediumsFolderIsCalled)
{
    for (const char* pszMediumName : {"medium", "mysrc", "ledger", "EN", "src", "ger.en"})
    {
        for (const bool bEnglish : {true, false})
        {
            SCOPED_TRACE(std::string(pszMediumName) + (bEnglish ? ", English" : ", German"));
            CTempFolder temp;
            const std::string strMedium = temp.Path() + "\\" + pszMediumName;
            const std::string strTree = strMedium + (bEnglish ? "\\en" : "\\ger");
            CreateDirectoryA(strMedium.c_str(), nullptr);
            for (const char* pszFolder : {"", "\\docs", "\\docs\\maps.old"})
                CreateDirectoryA((strTree + pszFolder).c_str(), nullptr);
            CTempFolder::WriteFile(strTree + "\\readme.txt", "top");
            CTempFolder::WriteFile(strTree + "\\docs\\a.txt", "docs");
            CTempFolder::WriteFile(strTree + "\\docs\\maps.old\\b.dat", "deep");
            ASSERT_TRUE(SetCurrentDirectoryA(strMedium.c_str()));

            const std::string strInstallDir = temp.Path() + "\\out\\Zanto";
            RunInWizard(bEnglish, [&](CWizardUnderTest& dlg) {
                lstrcpyA(dlg.m_szSetupDir, (strMedium + "\\").c_str());
                dlg.m_strInstallDir = strInstallDir;
                g_nBytesNeeded = 1000;
                EXPECT_TRUE(dlg.CopyLanguageFiles());
            });
            SetCurrentDirectoryA(temp.Path().c_str());
            EXPECT_TRUE(Exists(strInstallDir + "\\readme.txt"));
            EXPECT_TRUE(Exists(strInstallDir + "\\docs\\a.txt"));
            EXPECT_TRUE(Exists(strInstallDir + "\\docs\\maps.old\\b.dat"));
        }
    }
}

// A shortcut that cannot be saved is passed over; the others are made, only they are listed, and
// the menu counts as failed.
TEST(ShortcutsTest, AFailingShortcutDoesNotStopTheNextOnes)
{
    CTempFolder temp;
    const std::string strMenu = temp.Path() + "\\Programs\\Games\\Zanto";
    CreateDirectoryA((temp.Path() + "\\Programs").c_str(), nullptr);
    RunInWizard(true, [&](CWizardUnderTest& dlg) {
        dlg.m_strInstallDir = "C:\\Games\\Zanto";
        dlg.m_strProgramsDir = temp.Path() + "\\Programs";
        dlg.m_strMenuFolder = "\\Games\\Zanto";
        dlg.m_installLog.Clear();
        // A folder of the link's name stands in the way of the second shortcut.
        CreatePath((strMenu + "\\Play Zanto.lnk\\").c_str());
        EXPECT_FALSE(dlg.CreateShortcuts());
        for (const char* pszLink : {"Deinstall Zanto.lnk", "Readme.txt.lnk", "Homepage.lnk", "Options.lnk"})
            EXPECT_TRUE(Exists(strMenu + "\\" + pszLink)) << pszLink;
        EXPECT_EQ((std::vector<std::string>{strMenu + "\\Deinstall Zanto.lnk", strMenu + "\\Readme.txt.lnk",
                                            strMenu + "\\Homepage.lnk", strMenu + "\\Options.lnk"}),
                  dlg.m_installLog.Files());
    });
}

// The start menu page offers Install only for a folder that the step takes; the step refuses the
// others by the same rule, before it makes anything.
TEST(ShortcutsTest, AMenuFolderThatThePageRefusesMakesNothing)
{
    CTempFolder temp;
    const std::string strPrograms = temp.Path() + "\\Start\\Programs";
    CreatePath((strPrograms + "\\").c_str());
    for (const std::string& strFolder :
         {std::string("\\..\\Out"), std::string("\\Zanto a|b"), std::string("\\CON"), "\\" + std::string(250, 'm')})
    {
        RunInWizard(false, [&](CWizardUnderTest& dlg) {
            dlg.m_strInstallDir = "C:\\Games\\Zanto";
            dlg.m_strProgramsDir = strPrograms;
            dlg.m_strMenuFolder = strFolder;
            dlg.m_installLog.Clear();
            EXPECT_FALSE(dlg.CreateShortcuts()) << strFolder;
            EXPECT_TRUE(dlg.m_installLog.Folders().empty()) << strFolder;
            EXPECT_TRUE(dlg.m_installLog.Files().empty()) << strFolder;
        });
    }
    WIN32_FIND_DATAA data;
    const CUniqueFind hFind(FindFirstFileA((temp.Path() + "\\Start\\*").c_str(), &data));
    ASSERT_TRUE(hFind);
    std::vector<std::string> entries;
    do
        entries.push_back(data.cFileName);
    while (FindNextFileA(hFind.get(), &data));
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ((std::vector<std::string>{".", "..", "Programs"}), entries);
    EXPECT_FALSE(Exists(strPrograms + "\\" + std::string(250, 'm')));
}
