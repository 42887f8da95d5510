#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "ScreenCapture.h"
#include "Polling.h"
#include "SetupSession.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
// The title picture of this medium is red in its upper half and blue in its lower half.
class PaintingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const std::string strPicture = HostPath("ZANTO_PICTURES") + "\\halves400x400.jpg";
        ASSERT_TRUE(CopyFileA(strPicture.c_str(), m_session.MediumFile("zanto.jpg").c_str(), FALSE));
    }

    bool ShowsPicture(HWND hMain)
    {
        return WaitUntil([&] {
            return RedOrBlueAt(hMain, 14, 14) == 'r' && RedOrBlueAt(hMain, 492, 14) == 'r' &&
                   RedOrBlueAt(hMain, 250, 180) == 'r' && RedOrBlueAt(hMain, 250, 195) == 'b' &&
                   RedOrBlueAt(hMain, 14, 372) == 'b' && RedOrBlueAt(hMain, 492, 372) == 'b';
        });
    }

    CSetupSession m_session;
};
}

TEST_F(PaintingTest, PictureFillsItsRectangleExceptOnTheLicencePage)
{
    CWindowDriver main = m_session.StartInLanguage(true);
    EXPECT_TRUE(ShowsPicture(main.GetHwnd())) << "page 0";
    EXPECT_NE('r', RedOrBlueAt(main.GetHwnd(), 12, 100)) << "nothing left of the rectangle";
    EXPECT_NE('b', RedOrBlueAt(main.GetHwnd(), 250, 374)) << "nothing below the rectangle";

    main.Click(IDC_INSTALL);
    ASSERT_TRUE(WaitUntil([&] { return main.IsVisible(IDC_LICENSE_TEXT); })) << m_session.Diagnose();
    EXPECT_TRUE(WaitUntil([&] {
        return RedOrBlueAt(main.GetHwnd(), 250, 100) == '?' && RedOrBlueAt(main.GetHwnd(), 250, 300) == '?';
    })) << "the licence text covers the picture area";

    main.Click(IDC_ACCEPT);
    ASSERT_TRUE(WaitUntil([&] { return main.IsEnabled(IDC_NEXT); }));
    main.Click(IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return main.IsVisible(IDC_INSTALL_DIR); })) << m_session.Diagnose();
    EXPECT_TRUE(ShowsPicture(main.GetHwnd())) << "page 3";
}

// The slideshow replaces the title picture during the installation; after the success message
// the title picture is back.
TEST_F(PaintingTest, TitlePictureReturnsAfterTheInstallation)
{
    CInstallTarget target;
    CWindowDriver main = m_session.StartInLanguage(true);
    ASSERT_TRUE(StartInstallation(main, target.InstallDir(), target.MenuFolder())) << m_session.Diagnose();
    const HWND hBox = WaitForMessageBoxText(m_session.Process().GetPid(), "Installation successfull.",
                                            ETextMatch::Equals, 30000);
    ASSERT_NE(nullptr, hBox) << m_session.Diagnose();
    EXPECT_NE('r', RedOrBlueAt(main.GetHwnd(), 14, 14)) << "a slide stands in the picture area";
    AnswerMessageBox(hBox, IDOK);
    ASSERT_TRUE(WaitForPage(main, 0)) << m_session.Diagnose();
    EXPECT_TRUE(ShowsPicture(main.GetHwnd()));
}
