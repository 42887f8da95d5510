#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DialogUnits.h"
#include "InstallRun.h"
#include "LayoutCheck.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "ScreenCapture.h"
#include "SetupSession.h"
#include "WindowFinder.h"
#include "WindowText.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
const UINT kDpi = 144;
// "MS Sans Serif" 8 pt at that DPI, in pixels.
const int kFontHeight = MulDiv(8, kDpi, 72);

int Scaled(int nPixelsAt96)
{
    return MulDiv(nPixelsAt96, kDpi, 96);
}

// Wine takes a program's DPI from the prefix's LogPixels when the program starts; the value
// before the test is put back after it, whatever the test did.
class CDpiSetting
{
public:
    explicit CDpiSetting(DWORD dwDpi)
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &m_hKey, nullptr);
        DWORD dwSize = sizeof(m_dwBefore);
        m_bHadValue = RegQueryValueExA(m_hKey, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&m_dwBefore),
                                       &dwSize) == ERROR_SUCCESS;
        m_bSet = RegSetValueExA(m_hKey, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwDpi),
                                sizeof(dwDpi)) == ERROR_SUCCESS;
    }
    ~CDpiSetting()
    {
        if (m_bHadValue)
            RegSetValueExA(m_hKey, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_dwBefore),
                           sizeof(m_dwBefore));
        else
            RegDeleteValueA(m_hKey, "LogPixels");
        RegCloseKey(m_hKey);
    }
    CDpiSetting(const CDpiSetting&) = delete;
    CDpiSetting& operator=(const CDpiSetting&) = delete;

    bool IsSet() const { return m_bSet; }

private:
    HKEY m_hKey = nullptr;
    DWORD m_dwBefore = 0;
    bool m_bHadValue = false;
    bool m_bSet = false;
};

std::string Lines(const std::vector<std::string>& vecLines)
{
    std::string strAll;
    for (const std::string& strLine : vecLines)
        strAll += strLine + "\n";
    return strAll;
}

// The title picture of this medium is red in its upper half and blue in its lower half.
class HighDpiTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dpi.IsSet());
        const std::string strPicture = HostPath("ZANTO_PICTURES") + "\\halves400x400.jpg";
        ASSERT_TRUE(CopyFileA(strPicture.c_str(), m_session.MediumFile("zanto.jpg").c_str(), FALSE));
    }

    // The picture stands in the upper group box with the margins it has at 96 DPI, scaled: its
    // corners are the picture's colours, the margins beside them are not.
    void ExpectPictureFillsItsFrame(const CWindowDriver& main, const char* pszPage)
    {
        const HWND hMain = main.GetHwnd();
        const std::vector<RECT> vecBoxes = GroupBoxes(hMain);
        ASSERT_FALSE(vecBoxes.empty()) << pszPage;
        RECT rcFrame = vecBoxes[0];
        for (const RECT& rc : vecBoxes)
            if (rc.top < rcFrame.top)
                rcFrame = rc;
        const RECT rcPicture = {rcFrame.left + Scaled(7), rcFrame.top + Scaled(13), rcFrame.right - Scaled(8),
                                rcFrame.bottom - Scaled(9)};
        const int xMid = (rcPicture.left + rcPicture.right) / 2;
        const int yUpper = rcPicture.top + (rcPicture.bottom - rcPicture.top) / 4;
        EXPECT_TRUE(WaitUntil([&] {
            return RedOrBlueAt(hMain, rcPicture.left + 1, rcPicture.top + 1) == 'r' &&
                   RedOrBlueAt(hMain, rcPicture.right - 2, rcPicture.top + 1) == 'r' &&
                   RedOrBlueAt(hMain, rcPicture.left + 1, rcPicture.bottom - 2) == 'b' &&
                   RedOrBlueAt(hMain, rcPicture.right - 2, rcPicture.bottom - 2) == 'b';
        })) << pszPage << ": the picture does not reach its corners";
        EXPECT_EQ('?', RedOrBlueAt(hMain, rcPicture.left - 2, yUpper)) << pszPage << ": left of the picture";
        EXPECT_EQ('?', RedOrBlueAt(hMain, rcPicture.right + 1, yUpper)) << pszPage << ": right of the picture";
        EXPECT_EQ('?', RedOrBlueAt(hMain, xMid, rcPicture.top - 2)) << pszPage << ": above the picture";
        EXPECT_EQ('?', RedOrBlueAt(hMain, xMid, rcPicture.bottom + 1)) << pszPage << ": below the picture";
    }

    // Puts the client area's corner at the screen's, so that the whole picture area is on the
    // virtual desktop, which is smaller than the window at this DPI.
    static void ShowPictureAreaOnScreen(HWND hMain)
    {
        RECT rcWindow;
        GetWindowRect(hMain, &rcWindow);
        POINT ptClient = {0, 0};
        ClientToScreen(hMain, &ptClient);
        SetWindowPos(hMain, nullptr, rcWindow.left - ptClient.x, rcWindow.top - ptClient.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    CDpiSetting m_dpi{kDpi};
    CSetupSession m_session;
};
}

TEST_F(HighDpiTest, LanguageDialogGrowsWithTheDpiAndKeepsItsTextsWhole)
{
    m_session.Start();
    const HWND hDialog = m_session.WaitForLanguageDialog();
    ASSERT_NE(nullptr, hDialog) << m_session.Diagnose();
    EXPECT_EQ("", Lines(LayoutFaults(hDialog, kFontHeight)));
    const RECT rcAt96 = DialogUnitsToPixels(25, 50, 50, 14, "MS Sans Serif", 8);
    const RECT rcOk = CWindowDriver(hDialog).GetRect(IDCANCEL);
    EXPECT_GE((rcOk.right - rcOk.left) * 10, (rcAt96.right - rcAt96.left) * 14) << "the OK button is not scaled";
}

TEST_F(HighDpiTest, EveryPageKeepsItsControlsApartAndThePictureFillsItsFrame)
{
    CInstallTarget target;
    const CWindowDriver main = m_session.StartInLanguage(true);
    ShowPictureAreaOnScreen(main.GetHwnd());
    const auto expectPageFits = [&](int nPage) {
        const std::string strPage = "page " + std::to_string(nPage);
        Settle(main);
        EXPECT_EQ("", Lines(LayoutFaults(main.GetHwnd(), kFontHeight))) << strPage;
        if (nPage != 1)
            ExpectPictureFillsItsFrame(main, strPage.c_str());
    };
    expectPageFits(0);
    ASSERT_TRUE(GoForward(main, 0)) << m_session.Diagnose();
    expectPageFits(1);
    ASSERT_TRUE(GoForward(main, 1)) << m_session.Diagnose();
    expectPageFits(3);
    main.SetText(IDC_INSTALL_DIR, target.InstallDir());
    ASSERT_TRUE(GoForward(main, 3)) << m_session.Diagnose();
    main.SetText(IDC_MENU_FOLDER, target.MenuFolder());
    expectPageFits(4);

    // The installation page, held by the cancel question that comes over it.
    StartInstallAndCancel(main);
    const HWND hQuestion =
        WaitForMessageBoxText(m_session.Process().GetPid(), CancelQuestion(true), ETextMatch::Equals);
    ASSERT_NE(nullptr, hQuestion) << m_session.Diagnose();
    EXPECT_EQ("", Lines(LayoutFaults(main.GetHwnd(), kFontHeight))) << "page 5";
    EXPECT_EQ("", Lines(LayoutFaults(hQuestion, 0))) << "the cancel question";
    AnswerMessageBox(hQuestion, IDYES);
    EXPECT_TRUE(WaitForInstallOffered(main)) << m_session.Diagnose();
}

TEST_F(HighDpiTest, AboutBoxShowsTheIconAtTheDpisSize)
{
    const CWindowDriver main = m_session.StartInLanguage(false);
    PostMessageA(main.GetHwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    const HWND hAbout = WaitForDialog(m_session.Process().GetPid(), [](HWND hWnd) {
        return ReadWindowCaption(hWnd) == "Info \xFC" "ber ZantoSetup";
    });
    ASSERT_NE(nullptr, hAbout) << m_session.Diagnose();
    EXPECT_EQ("", Lines(LayoutFaults(hAbout, kFontHeight)));
    const HWND hIcon = GetWindow(hAbout, GW_CHILD);
    RECT rcIcon;
    GetClientRect(hIcon, &rcIcon);
    EXPECT_EQ(Scaled(32), rcIcon.right) << "icon width";
    EXPECT_EQ(Scaled(32), rcIcon.bottom) << "icon height";
    CWindowDriver(hAbout).Click(IDOK);
    EXPECT_TRUE(WaitForWindowGone(hAbout)) << m_session.Diagnose();
}
