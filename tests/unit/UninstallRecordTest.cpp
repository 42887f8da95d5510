#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>

#include "Homepage.h"
#include "RegistryKey.h"
#include "UninstallRecord.h"
#include "WizardHarness.h"
#include "ZantoSetupDlg.h"
#include "ZantoVersion.h"

namespace
{
using CValues = std::map<std::string, std::string>;

// The record's values by name.
CValues RecordValues()
{
    CValues values;
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return values;
    for (DWORD nIndex = 0;; ++nIndex)
    {
        char szName[256];
        DWORD nNameSize = sizeof(szName);
        BYTE abData[2048];
        DWORD nDataSize = sizeof(abData);
        DWORD dwType = 0;
        if (RegEnumValueA(hKey, nIndex, szName, &nNameSize, nullptr, &dwType, abData, &nDataSize) != ERROR_SUCCESS)
            break;
        // Numbers are stored as numbers, texts with their terminating zero.
        if (dwType == REG_DWORD)
        {
            EXPECT_EQ(sizeof(DWORD), nDataSize) << szName;
            values[szName] = std::to_string(*reinterpret_cast<const DWORD*>(abData));
            continue;
        }
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), dwType) << szName;
        EXPECT_EQ('\0', abData[nDataSize - 1]) << szName << " is stored with its terminating zero";
        values[szName] = reinterpret_cast<const char*>(abData);
    }
    RegCloseKey(hKey);
    return values;
}

bool RecordExists()
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

class UninstallRecordTest : public testing::Test
{
protected:
    void SetUp() override { CRegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kUninstallKeyPath); }
    void TearDown() override { CRegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kUninstallKeyPath); }

    static void Fill(CWizardUnderTest& dlg)
    {
        dlg.m_bDemo = true;
        dlg.m_strInstallDir = "C:\\Programme\\Zanto";
        dlg.m_strProgramsDir = "C:\\Dokumente und Einstellungen\\All Users\\Startmen\xFC\\Programme";
        dlg.m_strMenuFolder = "\\Zanto";
        g_nBytesNeeded = 2183019 + 1458;
    }
};
}

TEST_F(UninstallRecordTest, WritesItsValues)
{
    SYSTEMTIME today;
    RunInWizard(true, [&](CWizardUnderTest& dlg) {
        Fill(dlg);
        GetLocalTime(&today);
        dlg.WriteUninstallRecord();
    });
    char szToday[16];
    wsprintfA(szToday, "%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    const CValues expected = {
        {"DisplayName", "Zanto Demo"},
        {"UninstallString", "\"C:\\Programme\\Zanto\\uninstall.exe\""},
        {"Publisher", "Grindlow Software"},
        {"URLInfoAbout", ProductHomepage(true)},
        {"InstallLocation", "C:\\Programme\\Zanto"},
        {"Startmenu", "C:\\Dokumente und Einstellungen\\All Users\\Startmen\xFC\\Programme\\Zanto"},
        {"DisplayVersion", ZANTO_VERSION_TEXT},
        {"DisplayIcon", "C:\\Programme\\Zanto\\Zanto Demo.exe"},
        // 2,184,477 bytes are 2133.3 KiB: a part of a KiB counts whole.
        {"EstimatedSize", "2134"},
        {"InstallDate", szToday},
        {"NoModify", "1"},
        {"NoRepair", "1"},
        {"QuietUninstallString", "\"C:\\Programme\\Zanto\\uninstall.exe\" /SILENT"},
    };
    EXPECT_EQ(expected, RecordValues());
}

TEST_F(UninstallRecordTest, GermanRecordNamesTheGermanHomepageAndFullEditionItsName)
{
    RunInWizard(false, [](CWizardUnderTest& dlg) {
        Fill(dlg);
        dlg.m_bDemo = false;
        dlg.WriteUninstallRecord();
    });
    const CValues values = RecordValues();
    ASSERT_EQ(13u, values.size());
    EXPECT_EQ("Zanto", values.at("DisplayName"));
    EXPECT_EQ(ProductHomepage(false), values.at("URLInfoAbout"));
    EXPECT_NE(std::string(ProductHomepage(true)), ProductHomepage(false));
}

TEST_F(UninstallRecordTest, WritingTwiceKeepsOneRecordWithTheSecondValues)
{
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        Fill(dlg);
        dlg.WriteUninstallRecord();
        dlg.m_strInstallDir = "D:\\Spiele\\Zanto";
        dlg.WriteUninstallRecord();
    });
    const CValues values = RecordValues();
    ASSERT_EQ(13u, values.size());
    EXPECT_EQ("\"D:\\Spiele\\Zanto\\uninstall.exe\"", values.at("UninstallString"));
    EXPECT_EQ("\"D:\\Spiele\\Zanto\\uninstall.exe\" /SILENT", values.at("QuietUninstallString"));
    EXPECT_EQ("D:\\Spiele\\Zanto\\Zanto Demo.exe", values.at("DisplayIcon"));
    EXPECT_EQ("D:\\Spiele\\Zanto", values.at("InstallLocation"));
}

TEST_F(UninstallRecordTest, CheckInstalledFollowsTheRecord)
{
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        dlg.m_strInstallDir = "C:\\Programme\\Zanto";
        EXPECT_FALSE(dlg.CheckInstalled());
        EXPECT_EQ("C:\\Programme\\Zanto", dlg.m_strInstallDir);

        dlg.m_strInstallDir = "D:\\Spiele\\Zanto";
        dlg.WriteUninstallRecord();
        dlg.m_strInstallDir = "elsewhere";
        EXPECT_TRUE(dlg.CheckInstalled());
        EXPECT_EQ("D:\\Spiele\\Zanto", dlg.m_strInstallDir);
    });
}

TEST_F(UninstallRecordTest, TooLongLocationCountsAsInstalledAndKeepsTheFolder)
{
    CRegistryKey key;
    key.Create(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
    key.SetString(std::string(2000, 'x').c_str(), "InstallLocation");
    key.Close();
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        dlg.m_strInstallDir = "C:\\Programme\\Zanto";
        EXPECT_TRUE(dlg.CheckInstalled());
        EXPECT_EQ("C:\\Programme\\Zanto", dlg.m_strInstallDir);
    });
}

TEST_F(UninstallRecordTest, DeleteRemovesTheRecordWithItsSubkeysAndKeepsUninstall)
{
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        Fill(dlg);
        dlg.WriteUninstallRecord();
        CRegistryKey key;
        key.Create(HKEY_LOCAL_MACHINE, (std::string(kUninstallKeyPath) + "\\Extra\\Deeper").c_str());
        key.Close();
        dlg.DeleteUninstallRecord();
        EXPECT_FALSE(RecordExists());

        dlg.DeleteUninstallRecord();
        EXPECT_FALSE(RecordExists());
    });
    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                                           0, KEY_READ, &hKey));
    RegCloseKey(hKey);
}
