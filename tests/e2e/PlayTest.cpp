#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "DriverError.h"
#include "InstallRun.h"
#include "Folders.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "ScopedHandle.h"
#include "SetupSession.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
const char* const kGameTitle = "Zanto Demo";

// The install folder of an earlier installation, removed with the test.
class CInstallFolder
{
  public:
    CInstallFolder()
    {
        char szTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, szTemp);
        char szFolder[MAX_PATH];
        GetTempFileNameA(szTemp, "zin", 0, szFolder);
        DeleteFileA(szFolder);
        if (!CreateDirectoryA(szFolder, nullptr))
            throw CDriverError(std::string("cannot create ") + szFolder);
        m_strPath = szFolder;
    }
    ~CInstallFolder() { RemoveFolder(m_strPath); }
    CInstallFolder(const CInstallFolder&) = delete;
    CInstallFolder& operator=(const CInstallFolder&) = delete;

    const std::string& Path() const { return m_strPath; }
    std::string GamePath() const { return m_strPath + "\\Zanto Demo.exe"; }

  private:
    std::string m_strPath;
};

// The game that Play starts. The setup started it, not the test, so it is found by its window
// and ended by that window's process id, also when the test fails halfway.
class CGame
{
  public:
    CGame() = default;
    ~CGame() { End(); }
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    HWND WaitForWindow(DWORD dwTimeoutMs)
    {
        WaitUntil([this] { return (m_hWnd = FindWindowA(nullptr, kGameTitle)) != nullptr; }, dwTimeoutMs);
        if (m_hWnd != nullptr)
            GetWindowThreadProcessId(m_hWnd, &m_dwPid);
        return m_hWnd;
    }

    DWORD Pid() const { return m_dwPid; }

    std::string ImagePath() const
    {
        const CScopedHandle hProcess(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, m_dwPid));
        char szPath[MAX_PATH] = {};
        DWORD nSize = MAX_PATH;
        if (!hProcess.IsValid() || !QueryFullProcessImageNameA(hProcess.Get(), 0, szPath, &nSize))
            return std::string();
        return szPath;
    }

    void End()
    {
        if (m_dwPid == 0 && WaitForWindow(0) == nullptr)
            return;
        const CScopedHandle hProcess(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, m_dwPid));
        if (hProcess.IsValid())
        {
            TerminateProcess(hProcess.Get(), 0);
            WaitForSingleObject(hProcess.Get(), kDefaultTimeoutMs);
        }
        m_dwPid = 0;
        m_hWnd = nullptr;
    }

  private:
    HWND m_hWnd = nullptr;
    DWORD m_dwPid = 0;
};

std::string Lower(std::string str)
{
    std::transform(str.begin(), str.end(), str.begin(), [](unsigned char ch) { return std::tolower(ch); });
    return str;
}

// Waits for the setup to end and fails with any message box it shows meanwhile.
void ExpectQuietExit(CSetupSession& session)
{
    std::string strBoxes;
    const bool bEnded = WaitUntil([&] {
        if (strBoxes.empty())
            strBoxes = session.Diagnose();
        return !session.Process().IsRunning();
    });
    ASSERT_TRUE(bEnded) << "the setup still runs" << session.Diagnose();
    EXPECT_EQ("", strBoxes);
    EXPECT_EQ(0u, session.Process().GetExitCode());
}
}

TEST(PlayTest, PlayStartsTheInstalledGameAndEndsTheSetup)
{
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CInstallFolder folder;
        const std::string strPayloadGame = HostPath("ZANTO_PAYLOAD") + "\\Zanto Demo.exe";
        ASSERT_TRUE(CopyFileA(strPayloadGame.c_str(), folder.GamePath().c_str(), FALSE));
        CSetupSession session;
        WriteUninstallRecord(folder.Path());
        CGame game;
        CWindowDriver main = session.StartInLanguage(bEnglish);

        EXPECT_EQ(Text(bEnglish, "Deinstall", "Deinstallieren"), main.GetText(IDC_INSTALL));
        EXPECT_TRUE(main.IsVisible(IDC_PLAY));
        EXPECT_TRUE(main.IsEnabled(IDC_PLAY));
        ASSERT_EQ(nullptr, FindWindowA(nullptr, kGameTitle)) << "a game runs already";

        main.Click(IDC_PLAY);
        const HWND hGame = game.WaitForWindow(30000);
        ASSERT_NE(nullptr, hGame) << "no game window" << session.Diagnose();
        EXPECT_NE(session.Process().GetPid(), game.Pid());
        EXPECT_EQ(nullptr, GetParent(hGame)) << "not a top-level window";
        EXPECT_EQ(Lower(folder.GamePath()), Lower(game.ImagePath())) << "not the installed game";
        ExpectQuietExit(session);
    }
}

TEST(PlayTest, PlayWithoutTheGameEndsTheSetupQuietly)
{
    CInstallFolder folder;
    CSetupSession session;
    WriteUninstallRecord(folder.Path());
    CWindowDriver main = session.StartInLanguage(true);
    ASSERT_TRUE(main.IsEnabled(IDC_PLAY));

    main.Click(IDC_PLAY);
    ExpectQuietExit(session);
    EXPECT_EQ(nullptr, FindWindowA(nullptr, kGameTitle));
}

// Right after an installation, Play starts the game that the installation brought.
TEST(PlayTest, PlayAfterAnInstallationStartsTheInstalledGame)
{
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CInstallTarget target;
        CSetupSession session;
        CGame game;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        InstallThroughWizard(session, main, bEnglish, target);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(main.IsEnabled(IDC_PLAY));
        ASSERT_EQ(nullptr, FindWindowA(nullptr, kGameTitle)) << "a game runs already";

        main.Click(IDC_PLAY);
        ASSERT_NE(nullptr, game.WaitForWindow(30000)) << "no game window" << session.Diagnose();
        EXPECT_EQ(Lower(target.InstallDir() + "\\Zanto Demo.exe"), Lower(game.ImagePath()));
        ExpectQuietExit(session);
        game.End();
    }
}
