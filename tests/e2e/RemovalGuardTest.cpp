// The guards of removal where they matter: a list that names a system folder, what lies behind a
// folder link, an install folder or a start menu folder that is itself a link. Every case runs
// through both removals, the setup program's Deinstall and uninstall.exe.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "FolderLink.h"
#include "Folders.h"
#include "InstallRun.h"
#include "SetupSession.h"
#include "UninstallRun.h"
#include "WizardPages.h"

namespace
{
enum class EWay
{
    Deinstall,
    UninstallProgram,
};

struct SWayCase
{
    const char* pszName;
    EWay eWay;
};

const SWayCase s_aWays[] = {
    {"Deinstall", EWay::Deinstall},
    {"UninstallProgram", EWay::UninstallProgram},
};

void PrintTo(const SWayCase& way, std::ostream* pStream)
{
    *pStream << way.pszName;
}

std::string WayName(const testing::TestParamInfo<SWayCase>& info)
{
    return info.param.pszName;
}

// A folder link made for a test and removed before the folders around it, so that no clean-up
// goes down through it.
class CScopedLink
{
public:
    CScopedLink(const std::string& strLink, const std::string& strTarget)
        : m_strLink(strLink), m_bMade(MakeFolderLink(strLink, strTarget))
    {
    }
    ~CScopedLink() { RemoveFolderLink(m_strLink); }
    CScopedLink(const CScopedLink&) = delete;
    CScopedLink& operator=(const CScopedLink&) = delete;

    bool Made() const { return m_bMade; }

private:
    std::string m_strLink;
    bool m_bMade;
};

// Files that a test puts into a system folder, deleted again however the test ends.
class CScopedFiles
{
public:
    CScopedFiles() = default;
    ~CScopedFiles()
    {
        for (const std::string& strFile : m_files)
            DeleteFileA(strFile.c_str());
    }
    CScopedFiles(const CScopedFiles&) = delete;
    CScopedFiles& operator=(const CScopedFiles&) = delete;

    void Write(const std::string& strPath, const std::string& strContent)
    {
        m_files.push_back(strPath);
        WriteTextFile(strPath, strContent);
    }

private:
    std::vector<std::string> m_files;
};

// A file's bytes, or a note that it went.
std::string BytesOrGone(const std::string& strPath)
{
    return FileExists(strPath) ? ReadFileBytes(strPath) : std::string("(gone)");
}

const char* const kListHeader = "ZantoSetup install log 2\r\n";

void AppendToList(const CInstallTarget& target, const std::vector<std::string>& lines)
{
    const std::string strList = target.InstallDir() + "\\uninstall.dat";
    HANDLE hFile = CreateFileA(strList.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile) << "cannot open " << strList;
    std::string strText;
    for (const std::string& strLine : lines)
        strText += strLine + "\r\n";
    DWORD nWritten = 0;
    const BOOL bWritten = WriteFile(hFile, strText.data(), static_cast<DWORD>(strText.size()), &nWritten, nullptr);
    CloseHandle(hFile);
    ASSERT_TRUE(bWritten && nWritten == strText.size()) << "cannot write " << strList;
}

// Moves the folder aside into strAside and puts a link to it in its place.
std::string MoveBehindLink(const std::string& strFolder, const std::string& strAside)
{
    const std::string strMoved = strAside + "\\moved";
    if (!MoveFileA(strFolder.c_str(), strMoved.c_str()))
        return std::string();
    return strMoved;
}

class RemovalGuardTest : public testing::TestWithParam<SWayCase>
{
protected:
    // Installs in English; on Deinstall's way the wizard stays open on its start page.
    void Install(const CInstallTarget& target)
    {
        if (GetParam().eWay == EWay::UninstallProgram)
        {
            InstallAndQuit(m_session, true, target);
            return;
        }
        m_pMain.reset(new CWindowDriver(m_session.StartInLanguage(true)));
        InstallThroughWizard(m_session, *m_pMain, true, target);
    }

    // Removes what the record names, the way of the case: Deinstall in the English wizard of
    // session (started here when it is not running), or strProgram, a copy of uninstall.exe, which
    // speaks English when bEnglish.
    void Remove(CSetupSession& session, const std::string& strProgram, bool bEnglish)
    {
        if (GetParam().eWay == EWay::Deinstall)
        {
            if (!m_pMain)
            {
                m_pMain.reset(new CWindowDriver(session.StartInLanguage(true)));
                ASSERT_TRUE(WaitForPage(*m_pMain, 0)) << session.Diagnose();
            }
            Deinstall(session, *m_pMain);
            ASSERT_TRUE(WaitForInstallOffered(*m_pMain)) << session.Diagnose();
            EXPECT_EQ("", session.Diagnose());
            return;
        }
        m_run.StartFile(strProgram);
        if (HasFatalFailure())
            return;
        m_run.AnswerBox(DeinstallQuestion(bEnglish), IDYES);
        if (HasFatalFailure())
            return;
        m_run.AnswerBox(RemovedMessage(bEnglish), IDOK);
        if (HasFatalFailure())
            return;
        EXPECT_TRUE(m_run.WaitForCopyGone()) << "the copy in the temporary folder stayed";
        EXPECT_EQ("", m_run.Diagnose());
    }

    CSetupSession m_session;
    CUninstallRun m_run;
    std::unique_ptr<CWindowDriver> m_pMain;
};
}

// A record that names a system folder, a drive or nothing, where a list stands that claims the
// folder as made by the run and a file in it: nothing there goes, not even the list.
TEST_P(RemovalGuardTest, ARecordNamingASystemFolderRemovesNothingThere)
{
    char szWindows[MAX_PATH];
    GetWindowsDirectoryA(szWindows, MAX_PATH);
    char szProgramFiles[MAX_PATH] = {};
    DWORD nSize = sizeof(szProgramFiles);
    RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", RRF_RT_REG_SZ,
                 nullptr, szProgramFiles, &nSize);
    struct SRecorded
    {
        std::string strLocation;
        std::string strMarkerFolder;
    };
    const SRecorded aRecorded[] = {
        {szWindows, szWindows}, {szProgramFiles, szProgramFiles}, {"C:\\", "C:"}, {"C:", "C:"}, {"", "C:"},
        {ProgramsFolder(), ProgramsFolder()},
    };
    CScopedFolder program(UniqueTempPath("zgp"));
    const std::string strProgram = program.Path() + "\\uninstall.exe";
    ASSERT_TRUE(CopyFileA((HostPath("ZANTO_PAYLOAD") + "\\uninstall.exe").c_str(), strProgram.c_str(), FALSE));
    // Without a list that it may read, the uninstall program speaks the keyboard layout's language.
    const bool bEnglish = !IsGermanLayoutRun();
    for (const SRecorded& recorded : aRecorded)
    {
        SCOPED_TRACE("\"" + recorded.strLocation + "\"");
        const std::string strMarker = recorded.strMarkerFolder + "\\zanto-marker.txt";
        const std::string strList = recorded.strMarkerFolder + "\\uninstall.dat";
        const std::string strListed = recorded.strLocation.empty() ? recorded.strMarkerFolder : recorded.strLocation;
        const std::string strListText = std::string(kListHeader) + "D " + strListed + "\r\nF " + strMarker + "\r\n";
        CScopedFiles files;
        files.Write(strMarker, "stays");
        files.Write(strList, strListText);
        // A wizard of its own for each record: the start page reads the record when it opens.
        CSetupSession session;
        m_pMain.reset();
        WriteUninstallRecord(recorded.strLocation);

        Remove(session, strProgram, bEnglish);
        if (HasFatalFailure())
            return;
        EXPECT_EQ("stays", BytesOrGone(strMarker));
        EXPECT_EQ(strListText, BytesOrGone(strList));
        EXPECT_TRUE(FileExists(std::string(szWindows) + "\\system32\\kernel32.dll"));
        EXPECT_TRUE(FileExists(ProgramsFolder()));
        EXPECT_TRUE(RecordValues().empty());
    }
}

// Files and folders that the list names behind a folder link in the install folder belong to
// somebody else: they stay, and the rest of the installation goes.
TEST_P(RemovalGuardTest, WhatTheListNamesBehindAFolderLinkStays)
{
    CScopedFolder outside(UniqueTempPath("zgl"));
    CreateDirectoryA((outside.Path() + "\\inner").c_str(), nullptr);
    WriteTextFile(outside.Path() + "\\precious.txt", "keep me");
    WriteTextFile(outside.Path() + "\\inner\\kept.txt", "keep me too");
    CInstallTarget target;
    Install(target);
    if (HasFatalFailure())
        return;
    const std::string strLink = target.InstallDir() + "\\data\\linked";
    CScopedLink link(strLink, outside.Path());
    ASSERT_TRUE(link.Made());
    AppendToList(target, {"F " + strLink + "\\precious.txt", "D " + strLink + "\\inner",
                          "F " + strLink + "\\inner\\kept.txt"});
    if (HasFatalFailure())
        return;

    Remove(m_session, target.InstallDir() + "\\uninstall.exe", true);
    EXPECT_EQ((std::vector<std::string>{"inner\\kept.txt", "precious.txt"}), FilesBelow(outside.Path()));
    EXPECT_EQ("keep me", BytesOrGone(outside.Path() + "\\precious.txt"));
    EXPECT_EQ("keep me too", BytesOrGone(outside.Path() + "\\inner\\kept.txt"));
    EXPECT_FALSE(FileExists(target.InstallDir() + "\\uninstall.exe"));
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_TRUE(RecordValues().empty());
}

// An install folder that has become a link since the installation: the list read through it names
// files that now belong to the folder it points to, and every one of them stays there.
TEST_P(RemovalGuardTest, AnInstallFolderThatIsALinkKeepsWhatItPointsTo)
{
    CScopedFolder aside(UniqueTempPath("zgi"));
    CInstallTarget target;
    Install(target);
    if (HasFatalFailure())
        return;
    const std::string strMoved = MoveBehindLink(target.InstallDir(), aside.Path());
    ASSERT_NE("", strMoved) << "cannot move " << target.InstallDir();
    CScopedLink link(target.InstallDir(), strMoved);
    ASSERT_TRUE(link.Made());
    const std::vector<std::string> files = FilesBelow(strMoved);
    ASSERT_TRUE(FileExists(target.InstallDir() + "\\uninstall.dat"));

    Remove(m_session, target.InstallDir() + "\\uninstall.exe", true);
    EXPECT_EQ(files, FilesBelow(strMoved));
    EXPECT_FALSE(FileExists(target.MenuPath()));
    EXPECT_TRUE(RecordValues().empty());
}

// A start menu folder that has become a link: the shortcuts that the list names are now another
// folder's files, and they stay.
TEST_P(RemovalGuardTest, AStartMenuFolderThatIsALinkKeepsWhatItPointsTo)
{
    CScopedFolder aside(UniqueTempPath("zgm"));
    CInstallTarget target;
    Install(target);
    if (HasFatalFailure())
        return;
    const std::string strMoved = MoveBehindLink(target.MenuPath(), aside.Path());
    ASSERT_NE("", strMoved) << "cannot move " << target.MenuPath();
    CScopedLink link(target.MenuPath(), strMoved);
    ASSERT_TRUE(link.Made());
    const std::vector<std::string> shortcuts = FilesBelow(strMoved);
    ASSERT_EQ(5u, shortcuts.size());

    Remove(m_session, target.InstallDir() + "\\uninstall.exe", true);
    EXPECT_EQ(shortcuts, FilesBelow(strMoved));
    EXPECT_FALSE(FileExists(target.InstallDir()));
    EXPECT_TRUE(RecordValues().empty());
}

INSTANTIATE_TEST_SUITE_P(BothWays, RemovalGuardTest, testing::ValuesIn(s_aWays), WayName);
