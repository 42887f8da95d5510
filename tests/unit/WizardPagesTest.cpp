#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "Application.h"
#include "RegistryKey.h"
#include "TestDrives.h"
#include "UninstallRecord.h"
#include "WizardHarness.h"

namespace
{
struct SPageCase
{
    int nPage;
    bool bEnglish;
    std::vector<int> anShown;
    bool bNextEnabled;
    const char* pszCancel;
};

const int s_anPageControls[] = {IDC_INSTALL,       IDC_PLAY,         IDC_NEXT,     IDC_INSTALL_DIR, IDC_BROWSE,
                                IDC_DIR_FRAME,     IDC_SPACE_INFO,   IDC_PROGRESS, IDC_STATUS,      IDC_PERCENT,
                                IDC_MENU_FRAME,    IDC_MENU_FOLDER,  IDC_LICENSE_FRAME, IDC_LICENSE_TEXT,
                                IDC_ACCEPT,        IDC_KIND_FRAME,   IDC_KIND_1,   IDC_KIND_2};

void RemoveRecord()
{
    CRegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
}

class ShowPageTest : public testing::TestWithParam<SPageCase>
{
protected:
    void SetUp() override { RemoveRecord(); }
};
}

TEST_P(ShowPageTest, ShowsExactlyThePagesControls)
{
    const SPageCase& c = GetParam();
    g_nSizeBase = 1000;
    g_nSizeExtra = 24;
    RunInWizard(c.bEnglish, [&](CWizardUnderTest& dlg) {
        dlg.m_strInstallDir = "C:\\Programme\\Zanto";
        dlg.m_nPage = c.nPage;
        dlg.ShowPage();
        for (int nID : s_anPageControls)
        {
            const bool bExpected = std::find(c.anShown.begin(), c.anShown.end(), nID) != c.anShown.end();
            EXPECT_EQ(bExpected, dlg.IsShown(nID)) << "control " << nID << " on page " << c.nPage;
        }
        EXPECT_TRUE(dlg.IsShown(IDCANCEL));
        EXPECT_TRUE(dlg.IsEnabled(IDCANCEL));
        EXPECT_EQ(c.bNextEnabled, dlg.IsEnabled(IDC_NEXT));
        EXPECT_EQ(c.pszCancel, dlg.GetDlgItemText(IDCANCEL));
    });
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ShowPageTest,
    testing::Values(SPageCase{0, true, {IDC_INSTALL, IDC_PLAY}, true, "Quit"},
                    SPageCase{0, false, {IDC_INSTALL, IDC_PLAY}, true, "Beenden"},
                    SPageCase{1, true, {IDC_NEXT, IDC_LICENSE_FRAME, IDC_LICENSE_TEXT, IDC_ACCEPT}, false, "Cancel"},
                    SPageCase{1, false, {IDC_NEXT, IDC_LICENSE_FRAME, IDC_LICENSE_TEXT, IDC_ACCEPT}, false, "Abbrechen"},
                    SPageCase{2, true, {IDC_NEXT, IDC_INSTALL_DIR, IDC_BROWSE, IDC_DIR_FRAME, IDC_SPACE_INFO}, true, "Cancel"},
                    SPageCase{3, false, {IDC_NEXT, IDC_INSTALL_DIR, IDC_BROWSE, IDC_DIR_FRAME, IDC_SPACE_INFO}, true, "Abbrechen"},
                    SPageCase{4, true, {IDC_NEXT, IDC_MENU_FRAME, IDC_MENU_FOLDER}, true, "Cancel"},
                    SPageCase{4, false, {IDC_NEXT, IDC_MENU_FRAME, IDC_MENU_FOLDER}, true, "Abbrechen"},
                    SPageCase{5, true, {IDC_PROGRESS, IDC_STATUS, IDC_PERCENT}, true, "Cancel"},
                    SPageCase{5, false, {IDC_PROGRESS, IDC_STATUS, IDC_PERCENT}, true, "Abbrechen"}));

TEST(ShowPageStartTest, OffersInstallWithoutARecordAndDeinstallWithOne)
{
    RemoveRecord();
    RunInWizard(false, [](CWizardUnderTest& dlg) {
        dlg.m_nPage = 0;
        dlg.m_strInstallDir = "C:\\Programme\\Zanto";
        dlg.ShowPage();
        EXPECT_EQ("Installieren", dlg.GetDlgItemText(IDC_INSTALL));
        EXPECT_FALSE(dlg.IsEnabled(IDC_PLAY));
        EXPECT_EQ("C:\\Programme\\Zanto", dlg.m_strInstallDir);

        CRegistryKey key;
        key.Create(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
        key.SetString("D:\\Spiele\\Zanto", "InstallLocation");
        key.Close();
        dlg.ShowPage();
        EXPECT_EQ("Deinstallieren", dlg.GetDlgItemText(IDC_INSTALL));
        EXPECT_TRUE(dlg.IsEnabled(IDC_PLAY));
        EXPECT_EQ("D:\\Spiele\\Zanto", dlg.m_strInstallDir);
    });
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        dlg.m_nPage = 0;
        dlg.ShowPage();
        EXPECT_EQ("Deinstall", dlg.GetDlgItemText(IDC_INSTALL));
    });
    RemoveRecord();
}

TEST(ShowPageStartTest, RecordWithoutLocationStillCountsAndKeepsTheFolder)
{
    RemoveRecord();
    CRegistryKey key;
    key.Create(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
    key.SetString("Zanto Demo", "DisplayName");
    key.Close();
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        dlg.m_strInstallDir = "C:\\Programme\\Zanto";
        EXPECT_TRUE(dlg.CheckInstalled());
        EXPECT_EQ("C:\\Programme\\Zanto", dlg.m_strInstallDir);
    });
    RemoveRecord();
}

TEST(WizardNavigationTest, NextLeadsFromLicenceOverFolderToStartMenu)
{
    RemoveRecord();
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        dlg.m_strInstallDir = "C:\\Programme\\Zanto";
        dlg.m_nPage = 1;
        dlg.ShowPage();
        dlg.OnNext();
        EXPECT_EQ(3, dlg.m_nPage) << "the install-kind page is never shown";
        dlg.OnNext();
        EXPECT_EQ(4, dlg.m_nPage);
        EXPECT_EQ("Install", dlg.GetDlgItemText(IDC_NEXT));

        // Once page 4 was shown, Next keeps its install caption on later passes.
        dlg.m_nPage = 1;
        dlg.ShowPage();
        EXPECT_EQ("Install", dlg.GetDlgItemText(IDC_NEXT));
    });
}

TEST(WizardNavigationTest, NextReadsTheTypedFoldersIntoTheFields)
{
    RemoveRecord();
    RunInWizard(false, [](CWizardUnderTest& dlg) {
        dlg.m_nPage = 3;
        dlg.ShowPage();
        dlg.SetDlgItemText(IDC_INSTALL_DIR, "D:\\Spiele\\Zanto");
        dlg.SetDlgItemText(IDC_MENU_FOLDER, "\\Spiele\\Zanto");
        dlg.OnNext();
        EXPECT_EQ("D:\\Spiele\\Zanto", dlg.m_strInstallDir);
        EXPECT_EQ("\\Spiele\\Zanto", dlg.m_strMenuFolder);
    });
}

TEST(WizardNavigationTest, AcceptEnablesNextExactlyWhileChecked)
{
    RemoveRecord();
    RunInWizard(false, [](CWizardUnderTest& dlg) {
        dlg.CheckDlgButton(IDC_ACCEPT, BST_CHECKED);
        dlg.m_nPage = 1;
        dlg.ShowPage();
        EXPECT_FALSE(dlg.IsEnabled(IDC_NEXT)) << "entering the page disables Next, whatever the box says";
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), dlg.IsDlgButtonChecked(IDC_ACCEPT));

        SendMessageA(dlg.GetDlgItem(IDC_ACCEPT), BM_CLICK, 0, 0);
        EXPECT_FALSE(dlg.IsEnabled(IDC_NEXT));
        SendMessageA(dlg.GetDlgItem(IDC_ACCEPT), BM_CLICK, 0, 0);
        EXPECT_TRUE(dlg.IsEnabled(IDC_NEXT));
    });
}

TEST(WizardNavigationTest, EnterActsAsNextOnlyWhereNextIsOffered)
{
    RemoveRecord();
    RunInWizard(false, [](CWizardUnderTest& dlg) {
        dlg.m_strInstallDir = "C:\\Programme\\Zanto";
        dlg.m_nPage = 1;
        dlg.ShowPage();
        dlg.OnOK();
        EXPECT_EQ(1, dlg.m_nPage) << "Next is disabled until the licence is accepted";

        dlg.CheckDlgButton(IDC_ACCEPT, BST_CHECKED);
        dlg.OnAccept();
        dlg.OnOK();
        EXPECT_EQ(3, dlg.m_nPage);

        dlg.m_nPage = 0;
        dlg.ShowPage();
        dlg.OnOK();
        EXPECT_EQ(0, dlg.m_nPage);
        EXPECT_TRUE(IsWindow(dlg.Hwnd())) << "Enter does not end the wizard";
    });
}

TEST(WizardNavigationTest, PageThreeComputesTheNeededBytesAfresh)
{
    RemoveRecord();
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        dlg.m_strInstallDir = "C:\\Programme\\Zanto";
        g_nSizeBase = 3u << 20;
        g_nSizeExtra = 1u << 20;
        dlg.m_nPage = 3;
        dlg.ShowPage();
        EXPECT_EQ(4u << 20, g_nBytesNeeded);
        EXPECT_NE(std::string::npos, dlg.GetDlgItemText(IDC_SPACE_INFO).find("Free space needed:\t     4 MB"));

        g_nSizeBase = 0xF0000000u;
        g_nSizeExtra = 0x20000000u;
        dlg.ShowPage();
        EXPECT_EQ(MAXDWORD, g_nBytesNeeded) << "the sum saturates instead of wrapping";
        EXPECT_NE(std::string::npos, dlg.GetDlgItemText(IDC_SPACE_INFO).find("Free space needed:\t  4095 MB"));
    });
}

TEST(DiskSpaceCheckTest, UnknownFreeSpaceShowsBlanksAndDisablesNext)
{
    RemoveRecord();
    g_nSizeBase = 2u << 20;
    g_nSizeExtra = 0;
    for (const char* pszFolder : {"\\\\server\\share\\Zanto", "", "Q:\\Spiele\\Zanto"})
    {
        RunInWizard(true, [&](CWizardUnderTest& dlg) {
            dlg.m_strInstallDir = pszFolder;
            dlg.m_nPage = 3;
            dlg.ShowPage();
            EXPECT_EQ("Free space needed:\t     2 MB\nFree diskspace:\t\t       MB", dlg.GetDlgItemText(IDC_SPACE_INFO))
                << pszFolder;
            EXPECT_FALSE(dlg.IsEnabled(IDC_NEXT)) << pszFolder;
        });
    }
}

// Volumes that the test run mounts where it may: S: with 5 TiB free, T: with 1 MiB.
TEST(DiskSpaceCheckTest, RealVolumesShowTheirWholeFreeSpace)
{
    REQUIRE_TEST_DRIVES();
    const std::string strBig = TestDriveLetter("ZANTO_BIG_DRIVE");
    const std::string strSmall = TestDriveLetter("ZANTO_SMALL_DRIVE");

    RemoveRecord();
    g_nSizeBase = 2u << 20;
    g_nSizeExtra = 0;
    RunInWizard(true, [&](CWizardUnderTest& dlg) {
        dlg.m_strInstallDir = strBig + ":\\Zanto";
        dlg.m_nPage = 3;
        dlg.ShowPage();
        EXPECT_EQ("Free space needed:\t     2 MB\nFree diskspace:\t\t5242880 MB", dlg.GetDlgItemText(IDC_SPACE_INFO))
            << "5 TiB must not wrap in 32-bit arithmetic";
        EXPECT_TRUE(dlg.IsEnabled(IDC_NEXT));

        dlg.m_strInstallDir = strSmall + ":\\Zanto";
        dlg.ShowPage();
        EXPECT_EQ("Free space needed:\t     2 MB\nFree diskspace:\t\t     1 MB", dlg.GetDlgItemText(IDC_SPACE_INFO));
        EXPECT_FALSE(dlg.IsEnabled(IDC_NEXT));
    });
}
