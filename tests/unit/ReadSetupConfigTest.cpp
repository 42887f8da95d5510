#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TempFolder.h"
#include "WizardHarness.h"

namespace
{
struct SConfigCase
{
    const char* pszName;
    std::string strIni;
    const char* pszProductDir;
    DWORD nSizeBase;
    DWORD nSizeExtra;
};

class ReadSetupConfigTest : public testing::TestWithParam<SConfigCase>
{
};
}

TEST_P(ReadSetupConfigTest, ReadsFolderNameAndSizes)
{
    const SConfigCase& c = GetParam();
    CTempFolder folder;
    CTempFolder::WriteFile("setup_en.ini", c.strIni);
    CTempFolder::WriteFile("eula_en.txt", "");
    RunInWizard(true, [&](CWizardUnderTest& dlg) {
        g_nSizeBase = g_nSizeExtra = 12345;
        dlg.ReadSetupConfig();
        EXPECT_EQ(c.pszProductDir, dlg.m_strProductDir) << c.pszName;
        EXPECT_EQ(c.nSizeBase, g_nSizeBase) << c.pszName;
        EXPECT_EQ(c.nSizeExtra, g_nSizeExtra) << c.pszName;
    });
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadSetupConfigTest,
    testing::Values(
        SConfigCase{"CR LF", "Folder:Zanto\r\nSize:2149227\r\nLanguageSize:1458\r\n", "Zanto", 2149227, 1458},
        SConfigCase{"LF", "Folder:Zanto\nSize:2149227\nLanguageSize:1458\n", "Zanto", 2149227, 1458},
        SConfigCase{"no final line break", "Folder:Zanto\nSize:1\nLanguageSize:2", "Zanto", 1, 2},
        SConfigCase{"space after the colon", "Folder: Zanto\nSize: 10\nExtra:\t20\n", " Zanto", 10, 20},
        SConfigCase{"one line", "Folder:Game\r\n", "Game", 0, 0},
        SConfigCase{"empty", "", "", 0, 0},
        SConfigCase{"lines after the third", "a:A\nb:1\nc:2\nd:3\n", "A", 1, 2},
        SConfigCase{"lone CR stays in the value", "Folder:Zan\rto\nSize:5\r\r\nX:6\n", "Zan\rto", 5, 6},
        SConfigCase{"Ctrl+Z ends the text", "Folder:Zanto\nSize:7\x1AX:8\n", "Zanto", 7, 0},
        SConfigCase{"binary bytes", std::string("F:\xFF\x01\x02\nS:\x80\x00 9\nE:12abc\n", 18), "\xFF\x01\x02", 0, 12}));

// Values are read whole: the longest product folder name that a path can hold (a longer one ends
// the program as an unreadable configuration), and a byte count of 200,000 digits.
TEST(ReadSetupConfigLongLineTest, KeepsAVeryLongValueWhole)
{
    CTempFolder folder;
    const std::string strName(MAX_PATH - 1, 'z');
    CTempFolder::WriteFile("setup_ger.ini", "F:" + strName + "\nS:" + std::string(200000, '0') + "3\nE:4\n");
    CTempFolder::WriteFile("eula.txt", "x");
    RunInWizard(false, [&](CWizardUnderTest& dlg) {
        dlg.ReadSetupConfig();
        EXPECT_EQ(strName, dlg.m_strProductDir);
        EXPECT_EQ(3u, g_nSizeBase);
    });
}

TEST(ReadLicenseTest, JoinsEveryLineWithCrLf)
{
    struct SCase
    {
        const char* pszFile;
        const char* pszText;
    };
    for (const SCase& c : {SCase{"one\ntwo\r\nthree", "one\r\ntwo\r\nthree\r\n"}, SCase{"", ""},
                           SCase{"\n\n", "\r\n\r\n"}, SCase{"a\r\n", "a\r\n"}})
    {
        CTempFolder folder;
        CTempFolder::WriteFile("setup_ger.ini", "F:Zanto\n");
        CTempFolder::WriteFile("eula.txt", c.pszFile);
        RunInWizard(false, [&](CWizardUnderTest& dlg) {
            dlg.ReadSetupConfig();
            EXPECT_EQ(c.pszText, dlg.GetDlgItemText(IDC_LICENSE_TEXT)) << c.pszFile;
        });
    }
}

TEST(ReadSlidesTest, ListsEveryJpegWithItsAbsolutePath)
{
    CTempFolder folder;
    CTempFolder::WriteFile("setup_en.ini", "F:Zanto\n");
    CTempFolder::WriteFile("eula_en.txt", "");
    CreateDirectoryA("slideshow", nullptr);
    for (const char* pszName : {"slideshow\\a.jpg", "slideshow\\b.jpg", "slideshow\\c.jpg", "slideshow\\notes.txt"})
        CTempFolder::WriteFile(pszName, "x");
    RunInWizard(true, [&](CWizardUnderTest& dlg) {
        dlg.ReadSetupConfig();
        ASSERT_EQ(3u, dlg.m_slides.size());
        for (const char* pszName : {"a.jpg", "b.jpg", "c.jpg"})
        {
            const std::string strExpected = folder.Path() + "\\slideshow\\" + pszName;
            EXPECT_NE(dlg.m_slides.end(), std::find(dlg.m_slides.begin(), dlg.m_slides.end(), strExpected))
                << strExpected;
        }
    });
}

TEST(ReadSlidesTest, MissingSlideshowFolderGivesNoSlides)
{
    CTempFolder folder;
    CTempFolder::WriteFile("setup_en.ini", "F:Zanto\n");
    CTempFolder::WriteFile("eula_en.txt", "");
    RunInWizard(true, [&](CWizardUnderTest& dlg) {
        dlg.ReadSetupConfig();
        EXPECT_TRUE(dlg.m_slides.empty());
    });
}
