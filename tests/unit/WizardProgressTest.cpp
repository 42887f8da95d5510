#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <setupapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "Progress.h"
#include "TestPictures.h"
#include "WizardHarness.h"

namespace
{
// Sends one progress report as the install loops do.
void Report(const CWizardUnderTest& dlg, const char* pszTarget, int nPercent, DWORD nFileSize = 0)
{
    FILE_IN_CABINET_INFO_A info = {};
    info.FileSize = nFileSize;
    lstrcpynA(info.FullTargetName, pszTarget, MAX_PATH);
    SendProgress(dlg.Hwnd(), info, static_cast<DWORD>(nPercent));
}

struct SSlideCase
{
    const char* pszName;
    int nSlides;
    std::vector<int> anPercents;
    // g_nLastSlide after each report
    std::vector<int> anLastSlide;
};

class SlideScheduleTest : public testing::TestWithParam<SSlideCase>
{
};
}

TEST_P(SlideScheduleTest, LoadsEachSlideOnceWhenItsPercentageIsReached)
{
    const SSlideCase& c = GetParam();
    g_nLastSlide = -1;
    RunInWizard(true, [&](CWizardUnderTest& dlg) {
        for (int i = 0; i < c.nSlides; ++i)
            dlg.m_slides.push_back(TestPicturePath(i % 2 ? "halves400x400.jpg" : "halves640x480.jpg"));
        for (size_t i = 0; i < c.anPercents.size(); ++i)
        {
            Report(dlg, "C:\\Programme\\Zanto\\a.dat", c.anPercents[i]);
            EXPECT_EQ(c.anLastSlide[i], g_nLastSlide) << c.pszName << ", report at " << c.anPercents[i] << "%";
        }
        EXPECT_EQ(c.nSlides == 0 || g_nLastSlide < 0, dlg.m_picture.IsEmpty()) << c.pszName;
    });
}

INSTANTIATE_TEST_SUITE_P(
    Schedules, SlideScheduleTest,
    testing::Values(
        SSlideCase{"four slides", 4, {0, 24, 25, 49, 50, 74, 75, 100}, {0, 0, 1, 1, 2, 2, 3, 3}},
        SSlideCase{"three slides", 3, {0, 33, 34, 66, 67, 100}, {0, 0, 1, 1, 2, 2}},
        SSlideCase{"one slide", 1, {0, 50, 99, 100}, {0, 0, 0, 0}},
        SSlideCase{"no slides", 0, {0, 50, 100}, {-1, -1, -1}},
        SSlideCase{"above 100 loads nothing", 4, {130}, {-1}},
        SSlideCase{"a jump skips the slides between", 10, {10, 90}, {1, 9}},
        SSlideCase{"negative percentage", 4, {-50, 0}, {-1, 0}}));

TEST(SlideIndexTest, TruncatesTowardZeroWithoutOverflow)
{
    EXPECT_EQ(2, SlideIndex(67, 3));
    EXPECT_EQ(0, SlideIndex(-10, 4));
    EXPECT_EQ(-1, SlideIndex(-25, 4));
    EXPECT_EQ(85899345, SlideIndex(0x7FFFFFFF, 4));
}

TEST(ProgressReportTest, ShowsFileBarAndPercentage)
{
    g_nLastSlide = -1;
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        Report(dlg, "C:\\Programme\\Zanto\\data\\maps\\forest.map", 42);
        EXPECT_EQ("Copy file:\nC:\\Programme\\Zanto\\data\\maps\\forest.map", dlg.GetDlgItemText(IDC_STATUS));
        EXPECT_EQ("42%", dlg.GetDlgItemText(IDC_PERCENT));
        EXPECT_EQ(42, SendMessageA(dlg.GetDlgItem(IDC_PROGRESS), PBM_GETPOS, 0, 0));

        // A compatibility promise, pinned on purpose: a percentage over 100, as the installation
        // computes it from the configuration's byte counts, is shown as it is.
        Report(dlg, "C:\\x", 130);
        EXPECT_EQ("130%", dlg.GetDlgItemText(IDC_PERCENT));
        EXPECT_EQ(100, SendMessageA(dlg.GetDlgItem(IDC_PROGRESS), PBM_GETPOS, 0, 0)) << "the bar stays full";
    });
    RunInWizard(false, [](CWizardUnderTest& dlg) {
        Report(dlg, "C:\\Programme\\Zanto\\readme.txt", 7);
        EXPECT_EQ("Kopiere Datei:\nC:\\Programme\\Zanto\\readme.txt", dlg.GetDlgItemText(IDC_STATUS));
    });
}

namespace
{
DWORD g_dwTestNow = 0;

DWORD WINAPI TestTickCount()
{
    return g_dwTestNow;
}
}

// Small files that follow each other within a frame are not named; a big one always is, and so is
// the next file once the name shown last has stood for a frame. The test's clock stands still
// between reports, however slow the machine.
TEST(ProgressReportTest, NamesBigFilesAndOneSmallFilePerFrame)
{
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        dlg.m_pfnTickCount = TestTickCount;
        g_dwTestNow = 0xFFFFFFF0;
        Report(dlg, "C:\\Zanto\\a.txt", 1, 10);
        EXPECT_EQ("Copy file:\nC:\\Zanto\\a.txt", dlg.GetDlgItemText(IDC_STATUS));
        Report(dlg, "C:\\Zanto\\b.txt", 2, kNamedFileSize - 1);
        EXPECT_EQ("Copy file:\nC:\\Zanto\\a.txt", dlg.GetDlgItemText(IDC_STATUS));
        EXPECT_EQ("2%", dlg.GetDlgItemText(IDC_PERCENT)) << "the bar and the percentage follow every file";
        EXPECT_EQ(2, SendMessageA(dlg.GetDlgItem(IDC_PROGRESS), PBM_GETPOS, 0, 0));
        Report(dlg, "C:\\Zanto\\movie.bik", 3, kNamedFileSize);
        EXPECT_EQ("Copy file:\nC:\\Zanto\\movie.bik", dlg.GetDlgItemText(IDC_STATUS));
        g_dwTestNow += kStatusFrameMs - 1;
        Report(dlg, "C:\\Zanto\\c.txt", 3, 10);
        EXPECT_EQ("Copy file:\nC:\\Zanto\\movie.bik", dlg.GetDlgItemText(IDC_STATUS)) << "a frame less a millisecond";
        // Across the clock's wrap after 49.7 days.
        g_dwTestNow += 1;
        Report(dlg, "C:\\Zanto\\c.txt", 3, 10);
        EXPECT_EQ("Copy file:\nC:\\Zanto\\c.txt", dlg.GetDlgItemText(IDC_STATUS));
    });
}

TEST(ProgressReportTest, UnterminatedTargetNameIsCutAtTheRecordsEnd)
{
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        FILE_IN_CABINET_INFO_A info;
        std::memset(&info, 'x', sizeof(info));
        SendProgress(dlg.Hwnd(), info, 1);
        EXPECT_EQ(std::string("Copy file:\n") + std::string(MAX_PATH, 'x'), dlg.GetDlgItemText(IDC_STATUS));
    });
}

// WM_USER + 1 is the dialog manager's DM_SETDEFID as well: one that the installation did not send
// carries no record and goes on to the dialog manager.
TEST(ProgressReportTest, AMessageOfTheSameNumberFromElsewhereIsNoReport)
{
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        Report(dlg, "C:\\Zanto\\a.txt", 7, kNamedFileSize);
        for (const WPARAM wParam : {WPARAM(0), WPARAM(IDC_NEXT), WPARAM(0x7FFF0000), ~WPARAM(0)})
            SendMessageA(dlg.Hwnd(), WM_MYSETROGRESS, wParam, 55);
        EXPECT_EQ("Copy file:\nC:\\Zanto\\a.txt", dlg.GetDlgItemText(IDC_STATUS));
        EXPECT_EQ("7%", dlg.GetDlgItemText(IDC_PERCENT));
    });
}

TEST(ProgressReportTest, SlideThatCannotBeOpenedKeepsThePreviousPicture)
{
    g_nLastSlide = -1;
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        dlg.m_slides = {TestPicturePath("halves640x480.jpg"), TestPicturePath("missing.jpg")};
        Report(dlg, "C:\\a", 0);
        ASSERT_FALSE(dlg.m_picture.IsEmpty());
        Report(dlg, "C:\\b", 50);
        EXPECT_EQ(1, g_nLastSlide);
        EXPECT_FALSE(dlg.m_picture.IsEmpty());
    });
}

TEST(ProgressReportTest, SecondInstallationShowsOnlyLaterSlides)
{
    g_nLastSlide = -1;
    RunInWizard(true, [](CWizardUnderTest& dlg) {
        dlg.m_slides = {TestPicturePath("halves640x480.jpg"), TestPicturePath("halves400x400.jpg"),
                        TestPicturePath("halves640x480.jpg")};
        Report(dlg, "C:\\a", 40);
        EXPECT_EQ(1, g_nLastSlide);
        Report(dlg, "C:\\a", 0);
        Report(dlg, "C:\\a", 50);
        EXPECT_EQ(1, g_nLastSlide) << "the index is never reset";
        Report(dlg, "C:\\a", 70);
        EXPECT_EQ(2, g_nLastSlide);
    });
}
