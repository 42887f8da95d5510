#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "Polling.h"
#include "SetupSession.h"
#include "WindowFinder.h"
#include "WindowText.h"
#include "ZantoVersion.h"
#include "resource.h"

namespace
{
const char* const kAboutTitle = "Info \xFC" "ber ZantoSetup";

HWND WaitForAboutBox(CSetupSession& session, DWORD dwTimeoutMs = kDefaultTimeoutMs)
{
    return WaitForDialog(
        session.Process().GetPid(), [](HWND hWnd) { return ReadWindowCaption(hWnd) == kAboutTitle; }, dwTimeoutMs);
}

BOOL CALLBACK CollectStaticText(HWND hChild, LPARAM lParam)
{
    const DWORD dwType = static_cast<DWORD>(GetWindowLongA(hChild, GWL_STYLE)) & SS_TYPEMASK;
    if (ReadClassName(hChild) == "Static" && dwType != SS_ICON)
    {
        const std::string strText = ReadWindowText(hChild);
        if (!strText.empty())
            reinterpret_cast<std::vector<std::string>*>(lParam)->push_back(strText);
    }
    return TRUE;
}

std::vector<std::string> StaticTexts(HWND hDlg)
{
    std::vector<std::string> vecTexts;
    EnumChildWindows(hDlg, CollectStaticText, reinterpret_cast<LPARAM>(&vecTexts));
    return vecTexts;
}

// The About box is the expected one and its OK button closes it, leaving the wizard as it was.
void ExpectAboutBoxClosesWithOk(CSetupSession& session, const CWindowDriver& main, HWND hAbout)
{
    EXPECT_EQ(main.GetHwnd(), GetWindow(hAbout, GW_OWNER));
    const std::vector<std::string> vecTexts = StaticTexts(hAbout);
    ASSERT_EQ(2u, vecTexts.size());
    EXPECT_EQ("ZantoSetup Version " ZANTO_VERSION_SHORT, vecTexts[0]);
    EXPECT_EQ("Copyright (C) Grindlow Software", vecTexts[1]);
    const CWindowDriver about(hAbout);
    EXPECT_EQ("OK", about.GetText(IDOK));
    EXPECT_FALSE(IsWindowEnabled(main.GetHwnd())) << "the wizard takes input behind the About box";

    about.Click(IDOK);
    ASSERT_TRUE(WaitForWindowGone(hAbout)) << session.Diagnose();
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main.GetHwnd()) != FALSE; }));
    EXPECT_TRUE(IsWindowVisible(main.GetHwnd()));
    EXPECT_TRUE(main.IsVisible(IDC_INSTALL)) << "still on the start page";
    EXPECT_TRUE(session.Process().IsRunning());
}
}

// The system keeps the low four bits of a system command for itself.
TEST(AboutBoxTest, AboutCommandOpensTheAboutBoxWhateverItsLowBits)
{
    for (const WPARAM nCommand : {IDM_ABOUTBOX, IDM_ABOUTBOX | 0x3, IDM_ABOUTBOX | 0xF})
    {
        SCOPED_TRACE("command " + std::to_string(nCommand));
        CSetupSession session;
        CWindowDriver main = session.StartInLanguage(false);
        PostMessageA(main.GetHwnd(), WM_SYSCOMMAND, nCommand, 0);
        const HWND hAbout = WaitForAboutBox(session);
        ASSERT_NE(nullptr, hAbout) << session.Diagnose();
        ExpectAboutBoxClosesWithOk(session, main, hAbout);
    }
}

// Wine hands out no system menu of another process's window (GetSystemMenu gives NULL), so the
// item's text cannot be read from here; its mnemonic "o" of "Inf&o" is what the user types.
TEST(AboutBoxTest, SystemMenuItemOpensTheAboutBox)
{
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        PostMessageA(main.GetHwnd(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
        const HWND hMenu =
            WaitForProcessWindow(session.Process().GetPid(), [](HWND hWnd) { return ReadClassName(hWnd) == "#32768"; });
        ASSERT_NE(nullptr, hMenu) << "no system menu" << session.Diagnose();
        PostMessageA(main.GetHwnd(), WM_CHAR, 'o', 0);
        const HWND hAbout = WaitForAboutBox(session);
        ASSERT_NE(nullptr, hAbout) << session.Diagnose();
        ExpectAboutBoxClosesWithOk(session, main, hAbout);
    }
}

TEST(AboutBoxTest, OtherSystemCommandsKeepTheirMeaning)
{
    CSetupSession session;
    CWindowDriver main = session.StartInLanguage(true);

    PostMessageA(main.GetHwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(main.GetHwnd()) != FALSE; })) << session.Diagnose();
    PostMessageA(main.GetHwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(main.GetHwnd()) == FALSE; })) << session.Diagnose();

    EXPECT_EQ(nullptr, WaitForAboutBox(session, 300));
    EXPECT_TRUE(main.IsVisible(IDC_INSTALL));
    EXPECT_TRUE(session.Process().IsRunning());
}
