#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "CreatePath.h"
#include "FolderLink.h"
#include "InstallLog.h"
#include "Removal.h"
#include "TargetFiles.h"
#include "TempFolder.h"
#include "UnlinkedEntry.h"

namespace
{
bool Exists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A file as the user left it: content, attributes and last write time.
struct SUserFile
{
    std::string strContent;
    DWORD dwAttributes;
    FILETIME ftWritten;
};

SUserFile MakeUserFile(const std::string& strPath, const std::string& strContent, DWORD dwAttributes)
{
    CTempFolder::WriteFile(strPath, strContent);
    // A day that no run of the tests writes: 2001-02-03.
    SYSTEMTIME st = {2001, 2, 6, 3, 4, 5, 6, 0};
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    HANDLE hFile = CreateFileA(strPath.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(hFile, nullptr, nullptr, &ft);
    CloseHandle(hFile);
    SetFileAttributesA(strPath.c_str(), dwAttributes);
    return {strContent, GetFileAttributesA(strPath.c_str()), ft};
}

void ExpectUserFile(const std::string& strPath, const SUserFile& file)
{
    SCOPED_TRACE(strPath);
    EXPECT_EQ(file.strContent, CTempFolder::ReadFile(strPath));
    EXPECT_EQ(file.dwAttributes, GetFileAttributesA(strPath.c_str()));
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(0, CompareFileTime(&file.ftWritten, &data.ftLastWriteTime));
}

// An install folder that holds files of the user's, some of the names the installation writes.
class RemovalTest : public testing::Test
{
protected:
    RemovalTest()
        : m_strDir(m_temp.Path() + "\\Zanto"), m_strList(m_strDir + "\\uninstall.dat"),
          m_strMenu(m_temp.Path() + "\\Menu")
    {
        CreateDirectoryA(m_strDir.c_str(), nullptr);
        m_readme = MakeUserFile(m_strDir + "\\readme.txt", "the user's own readme", FILE_ATTRIBUTE_READONLY);
        m_game = MakeUserFile(m_strDir + "\\game.exe", "the user's own game", FILE_ATTRIBUTE_HIDDEN);
        m_other = MakeUserFile(m_strDir + "\\savegame.sav", "level 9", FILE_ATTRIBUTE_ARCHIVE);
    }

    // What a run does before each file: the list first, then the file.
    void Install(const std::string& strPath, const std::string& strContent)
    {
        ASSERT_EQ(0u, CreatePath(strPath.c_str(), &m_log));
        ASSERT_TRUE(PrepareTarget(m_log, strPath)) << strPath;
        CTempFolder::WriteFile(strPath, strContent);
    }

    void BeginRun()
    {
        ASSERT_EQ(0u, CreatePath((m_strDir + "\\").c_str(), &m_log));
        ASSERT_TRUE(PrepareTarget(m_log, m_strList));
        ASSERT_TRUE(m_log.BeginFile(m_strList));
        Install(m_strDir + "\\readme.txt", "installed readme");
        Install(m_strDir + "\\game.exe", "installed game");
        Install(m_strDir + "\\data\\maps\\cave.map", "installed map");
        Install(m_strMenu + "\\Play Zanto.lnk", "link");
    }

    bool Remove(const CInstallLog& log, const std::string& strDir, CFileError& error)
    {
        SRemovalScope scope;
        scope.strInstallDir = strDir;
        scope.strMenuFolder = m_strMenu;
        scope.pLog = &log;
        return RemoveInstallation(scope, error);
    }

    void ExpectAsBefore()
    {
        ExpectUserFile(m_strDir + "\\readme.txt", m_readme);
        ExpectUserFile(m_strDir + "\\game.exe", m_game);
        ExpectUserFile(m_strDir + "\\savegame.sav", m_other);
        EXPECT_FALSE(Exists(m_strDir + "\\readme.txt.zanto-kept"));
        EXPECT_FALSE(Exists(m_strDir + "\\data"));
        EXPECT_FALSE(Exists(m_strList));
        EXPECT_FALSE(Exists(m_strMenu));
    }

    CTempFolder m_temp;
    std::string m_strDir;
    std::string m_strList;
    std::string m_strMenu;
    SUserFile m_readme;
    SUserFile m_game;
    SUserFile m_other;
    CInstallLog m_log;
};
}

// The kept names that a list may hold are exactly those the installation gives.
TEST(KeptNameTest, OnlyTheInstallationsOwnKeptNamesCount)
{
    const std::string strFile = "C:\\Games\\Zanto\\readme.txt";
    for (unsigned nAttempt = 1; nAttempt <= kMaxKeptAttempts; ++nAttempt)
        EXPECT_TRUE(IsKeptFilePath(strFile, KeptFilePath(strFile, nAttempt))) << nAttempt;
    EXPECT_EQ(strFile + ".zanto-kept", KeptFilePath(strFile, 1));
    EXPECT_EQ(strFile + ".zanto-kept17", KeptFilePath(strFile, 17));
    for (const char* pszKept : {"C:\\Games\\Zanto\\readme.txt", "C:\\Games\\Zanto\\readme.txt.zanto-kept1",
                                "C:\\Games\\Zanto\\readme.txt.zanto-kept02", "C:\\Games\\Zanto\\readme.txt.zanto-kept101",
                                "C:\\Games\\Zanto\\readme.txt.zanto-kept2x", "C:\\Games\\Zanto\\README.TXT.zanto-kept",
                                "C:\\Games\\Zanto\\other.txt.zanto-kept", "C:\\Games\\readme.txt.zanto-kept",
                                "C:\\Games\\Zanto\\readme.txt.zanto-kept\\x"})
        EXPECT_FALSE(IsKeptFilePath(strFile, pszKept)) << pszKept;
}

TEST(TargetFilesTest, KeptNamesStandBesideTheFileAndSkipTakenOnes)
{
    CTempFolder temp;
    const std::string strFile = temp.Path() + "\\a.txt";
    CTempFolder::WriteFile(strFile, "user");
    CTempFolder::WriteFile(strFile + ".zanto-kept", "older");
    CTempFolder::WriteFile(strFile + ".zanto-kept2", "older still");
    CInstallLog log;
    ASSERT_TRUE(PrepareTarget(log, strFile));
    ASSERT_EQ(1u, log.KeptFiles().size());
    EXPECT_EQ(strFile + ".zanto-kept3", log.KeptFiles()[0].strKept);
    EXPECT_EQ("user", CTempFolder::ReadFile(strFile + ".zanto-kept3"));
    EXPECT_FALSE(Exists(strFile));

    // The place is the installation's now: writing there again keeps nothing more aside.
    CTempFolder::WriteFile(strFile, "installed");
    ASSERT_TRUE(PrepareTarget(log, strFile));
    EXPECT_EQ(1u, log.KeptFiles().size());
    EXPECT_EQ("installed", CTempFolder::ReadFile(strFile));

    ASSERT_TRUE(PrepareTarget(log, temp.Path() + "\\free.txt"));
    EXPECT_EQ((std::vector<std::string>{temp.Path() + "\\free.txt"}), log.Files());
}

// A cancel or a failure at any point leaves the folder as the user had it.
TEST_F(RemovalTest, ACancelPutsTheUsersFilesBackAsTheyWere)
{
    BeginRun();
    // A folder that the run made goes as a whole: its files need no entries.
    CTempFolder::WriteFile(m_strDir + "\\data\\maps\\unlisted.bin", "extracted into a new folder");
    EXPECT_EQ("installed readme", CTempFolder::ReadFile(m_strDir + "\\readme.txt"));
    CFileError error;
    m_log.EndFile();
    ASSERT_TRUE(Remove(m_log, m_strDir, error)) << error.m_strFileName;
    ExpectAsBefore();
}

// What a run that never ended wrote is found in its list by the next run, kept files included.
TEST_F(RemovalTest, AListLeftByAnEndedRunRemovesWhatItNames)
{
    BeginRun();
    m_log.EndFile();
    CInstallLog loaded;
    ASSERT_TRUE(loaded.Load(m_strList));
    CFileError error;
    ASSERT_TRUE(Remove(loaded, m_strDir, error)) << error.m_strFileName;
    ExpectAsBefore();
}

// After success the installed files stand for good; what an ended run had kept still comes back.
TEST_F(RemovalTest, SuccessDropsThisRunsKeptFilesAndDeinstallRemovesTheInstalledOnes)
{
    BeginRun();
    m_log.EndFile();
    CInstallLog next;
    ASSERT_TRUE(next.Load(m_strList));
    ASSERT_TRUE(next.BeginFile(m_strList));
    MakeUserFile(m_strDir + "\\notes.txt", "the user's notes", FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(PrepareTarget(next, m_strDir + "\\notes.txt"));
    CTempFolder::WriteFile(m_strDir + "\\notes.txt", "installed notes");
    DropKeptFiles(next);
    next.EndFile();
    EXPECT_FALSE(Exists(m_strDir + "\\notes.txt.zanto-kept")) << "a read-only kept file goes too";
    EXPECT_TRUE(Exists(m_strDir + "\\readme.txt.zanto-kept")) << "the ended run's kept file waits for removal";

    CInstallLog deinstall;
    ASSERT_TRUE(deinstall.Load(m_strList));
    CFileError error;
    ASSERT_TRUE(Remove(deinstall, m_strDir, error)) << error.m_strFileName;
    ExpectAsBefore();
    EXPECT_FALSE(Exists(m_strDir + "\\notes.txt"));
}

// A file that stays stops the removal; the list still names it, and the next removal finishes.
TEST_F(RemovalTest, AFileThatCannotGoStopsTheRemovalAndTheListStays)
{
    BeginRun();
    m_log.EndFile();
    SetFileAttributesA((m_strDir + "\\data\\maps\\cave.map").c_str(), FILE_ATTRIBUTE_READONLY);
    CFileError error;
    EXPECT_FALSE(Remove(m_log, m_strDir, error));
    EXPECT_EQ(m_strDir + "\\data\\maps\\cave.map", error.m_strFileName);
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), error.m_dwError);
    ASSERT_TRUE(Exists(m_strList));

    SetFileAttributesA((m_strDir + "\\data\\maps\\cave.map").c_str(), FILE_ATTRIBUTE_NORMAL);
    CInstallLog again;
    ASSERT_TRUE(again.Load(m_strList));
    ASSERT_TRUE(Remove(again, m_strDir, error)) << error.m_strFileName;
    ExpectAsBefore();
}

// Without a folder to act in, or without a list, nothing in any install folder goes: only the
// shortcuts, by their names, and their folder when it is then empty.
TEST_F(RemovalTest, WithoutTheFolderOrTheListOnlyTheShortcutsGo)
{
    BeginRun();
    m_log.EndFile();
    CInstallLog unknown;
    unknown.SetUnknown();
    for (const CInstallLog* pLog : {&unknown, &m_log})
    {
        CFileError error;
        ASSERT_TRUE(Remove(*pLog, pLog == &m_log ? std::string() : m_strDir, error));
        EXPECT_EQ("installed readme", CTempFolder::ReadFile(m_strDir + "\\readme.txt"));
        EXPECT_TRUE(Exists(m_strDir + "\\data\\maps\\cave.map"));
        EXPECT_TRUE(Exists(m_strList));
    }
    EXPECT_FALSE(Exists(m_strMenu + "\\Play Zanto.lnk"));
    EXPECT_FALSE(Exists(m_strMenu));
}

// The uninstall program and the list go last: a removal that stops anywhere leaves both, so that
// the program that Windows starts can finish the job; one of them that cannot go stops the
// removal before anything went.
TEST_F(RemovalTest, TheUninstallProgramAndTheListGoLast)
{
    const std::string strProgram = m_strDir + "\\uninstall.exe";
    const std::string strMap = m_strDir + "\\data\\maps\\cave.map";
    for (const std::string& strLocked : {strMap, m_strDir + "\\readme.txt", strProgram, m_strList})
    {
        SCOPED_TRACE(strLocked);
        m_log.Clear();
        BeginRun();
        Install(strProgram, "program");
        Install(m_strDir + "\\data\\later.dat", "written after the program");
        m_log.EndFile();
        SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_READONLY);
        CFileError error;
        EXPECT_FALSE(Remove(m_log, m_strDir, error));
        EXPECT_EQ(strLocked, error.m_strFileName);
        EXPECT_TRUE(Exists(strProgram));
        EXPECT_TRUE(Exists(m_strList));
        if (strLocked == strProgram || strLocked == m_strList)
        {
            EXPECT_EQ("installed map", CTempFolder::ReadFile(strMap)) << "nothing goes before the last two can";
            EXPECT_TRUE(Exists(m_strMenu + "\\Play Zanto.lnk"));
        }

        SetFileAttributesA(strLocked.c_str(), FILE_ATTRIBUTE_NORMAL);
        CInstallLog again;
        ASSERT_TRUE(again.Load(m_strList));
        ASSERT_TRUE(Remove(again, m_strDir, error)) << error.m_strFileName;
        EXPECT_FALSE(Exists(strProgram));
        ExpectAsBefore();
    }
}

// Removal opens what it deletes as itself: a folder link, and whatever lies behind it, is never
// held or opened as a folder or file of the installation's.
TEST(UnlinkedEntryTest, NothingBehindAFolderLinkIsOpenedOrHeld)
{
    CTempFolder temp;
    CScopedFolder outside(UniqueTempPath("zul"));
    CTempFolder::WriteFile(outside.Path() + "\\precious.txt", "keep me");
    const std::string strLink = temp.Path() + "\\j";
    ASSERT_TRUE(MakeFolderLink(strLink, outside.Path()));
    ASSERT_TRUE(CreateDirectoryA((temp.Path() + "\\real").c_str(), nullptr));

    DWORD dwError = 1;
    EXPECT_FALSE(OpenUnlinkedEntry(strLink, EEntryKind::Folder, true, dwError));
    EXPECT_EQ(0u, dwError);
    EXPECT_FALSE(OpenUnlinkedEntry(temp.Path() + "\\real", EEntryKind::File, true, dwError));
    EXPECT_EQ(0u, dwError);
    EXPECT_TRUE(OpenUnlinkedEntry(temp.Path() + "\\real", EEntryKind::Folder, true, dwError));
    EXPECT_FALSE(OpenUnlinkedEntry(temp.Path() + "\\missing.txt", EEntryKind::File, true, dwError));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), dwError);

    CHeldFolders held;
    EXPECT_TRUE(held.HoldTo(temp.Path(), temp.Path() + "\\real"));
    EXPECT_FALSE(held.HoldTo(temp.Path(), strLink));
    EXPECT_FALSE(held.HoldTo(temp.Path(), strLink + "\\inner"));
    EXPECT_FALSE(held.HoldTo(strLink, strLink));
    EXPECT_FALSE(held.HoldTo(temp.Path(), outside.Path()));
    held.Release();

    CFileError error;
    EXPECT_TRUE(RemoveTree(temp.Path(), false, error));
    EXPECT_TRUE(RemoveTree(temp.Path(), true, error));
    EXPECT_EQ("keep me", CTempFolder::ReadFile(outside.Path() + "\\precious.txt"));
    RemoveFolderLink(strLink);
}
