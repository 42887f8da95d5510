#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "Polling.h"
#include "SetupSession.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
struct SPictureCase
{
    const char* pszName;
    void (*fnDamage)(const CSetupSession&);
};
}

class BadPictureTest : public testing::TestWithParam<SPictureCase>
{
};

TEST_P(BadPictureTest, WizardStartsAndPaintsWithoutThePicture)
{
    CSetupSession session;
    GetParam().fnDamage(session);
    CWindowDriver main = session.StartInLanguage(true);
    // A repaint and a page change must not trip over the missing picture.
    main.Click(IDC_INSTALL);
    ASSERT_TRUE(WaitUntil([&] { return main.IsVisible(IDC_ACCEPT); })) << session.Diagnose();
    RedrawWindow(main.GetHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    // The paint of another process's window may come after the call returns: the window is judged
    // once nothing of it waits to be painted.
    ASSERT_TRUE(WaitUntil([&] { return !GetUpdateRect(main.GetHwnd(), nullptr, FALSE); })) << session.Diagnose();
    DWORD_PTR dwResult = 0;
    EXPECT_NE(0, SendMessageTimeoutA(main.GetHwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &dwResult))
        << "the window does not answer after its repaint";
    EXPECT_TRUE(session.Process().IsRunning());
}

INSTANTIATE_TEST_SUITE_P(
    Media, BadPictureTest,
    testing::Values(SPictureCase{"no title picture",
                                 [](const CSetupSession& s) { DeleteFileA(s.MediumFile("zanto.jpg").c_str()); }},
                    SPictureCase{"undecodable title picture",
                                 [](const CSetupSession& s) { WriteTextFile(s.MediumFile("zanto.jpg"), "JFIF?"); }},
                    SPictureCase{"empty title picture",
                                 [](const CSetupSession& s) { WriteTextFile(s.MediumFile("zanto.jpg"), ""); }}),
    [](const testing::TestParamInfo<SPictureCase>& info) {
        std::string strName = info.param.pszName;
        for (char& ch : strName)
            if (ch == ' ')
                ch = '_';
        return strName;
    });

TEST(BadInputTest, OverlongTypedInstallFolderDoesNotBreakTheWizard)
{
    CSetupSession session;
    CWindowDriver main = session.StartInLanguage(true);
    main.Click(IDC_INSTALL);
    ASSERT_TRUE(WaitUntil([&] { return main.IsVisible(IDC_ACCEPT); })) << session.Diagnose();
    main.Click(IDC_ACCEPT);
    ASSERT_TRUE(WaitUntil([&] { return main.IsEnabled(IDC_NEXT); })) << session.Diagnose();
    main.Click(IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return main.IsVisible(IDC_INSTALL_DIR); })) << session.Diagnose();

    const std::string strFolder = "C:\\" + std::string(5000, 'x');
    main.SetText(IDC_INSTALL_DIR, strFolder);
    EXPECT_EQ(strFolder, main.GetText(IDC_INSTALL_DIR));
    main.Click(IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return main.IsVisible(IDC_MENU_FOLDER); })) << session.Diagnose();
    EXPECT_TRUE(session.Process().IsRunning());
}
