#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "DialogUnits.h"
#include "SetupSession.h"
#include "WindowFinder.h"
#include "resource.h"

namespace
{
struct SControl
{
    int nID;
    const char* pszClass;
    DWORD dwStyle;
    int x, y, cx, cy;
};

// The named controls of the main window as the template places them; the style is the one the
// template gives, before the pages show or hide the control. A compatibility promise, pinned on
// purpose: the window keeps the template's layout and styles, which these values restate.
const SControl s_aControls[] = {
    {IDCANCEL, "Button", 0x50010000, 10, 285, 50, 14},
    {IDC_INSTALL, "Button", 0x50010000, 10, 265, 50, 14},
    {IDC_PLAY, "Button", 0x50010000, 10, 245, 50, 14},
    {IDC_NEXT, "Button", 0x50010000, 278, 285, 50, 14},
    {IDC_INSTALL_DIR, "Edit", 0x50810080, 70, 250, 175, 12},
    {IDC_BROWSE, "Button", 0x50010000, 250, 250, 15, 12},
    {IDC_DIR_FRAME, "Button", 0x50000007, 65, 240, 205, 60},
    {IDC_SPACE_INFO, "Static", 0x50030000, 70, 270, 195, 25},
    {IDC_PROGRESS, "msctls_progress32", 0x50000001, 10, 266, 319, 15},
    {IDC_STATUS, "Static", 0x50020000, 11, 242, 315, 23},
    {IDC_MENU_FRAME, "Button", 0x50000007, 65, 240, 205, 60},
    {IDC_MENU_FOLDER, "Edit", 0x50810080, 70, 250, 195, 12},
    {IDC_LICENSE_FRAME, "Button", 0x50000007, 65, 240, 205, 60},
    {IDC_ACCEPT, "Button", 0x50010003, 70, 265, 195, 15},
    {IDC_LICENSE_TEXT, "Edit", 0x50A11845, 10, 10, 320, 220},
    {IDC_PERCENT, "Static", 0x50020001, 141, 284, 55, 15},
    {IDC_KIND_FRAME, "Button", 0x50000007, 65, 240, 205, 60},
    {IDC_KIND_1, "Button", 0x50020009, 75, 260, 180, 10},
    {IDC_KIND_2, "Button", 0x50000009, 75, 276, 180, 10},
};

BOOL CALLBACK CountChild(HWND, LPARAM lParam)
{
    ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

int CountChildren(HWND hWnd)
{
    int nCount = 0;
    EnumChildWindows(hWnd, CountChild, reinterpret_cast<LPARAM>(&nCount));
    return nCount;
}
}

TEST(MainWindowTest, HasTheTemplatesControlsAtTheirPlaces)
{
    CSetupSession session;
    CWindowDriver main = session.StartInLanguage(false);

    EXPECT_EQ(21, CountChildren(main.GetHwnd()));
    EXPECT_EQ(0x00040000u, GetWindowLongA(main.GetHwnd(), GWL_EXSTYLE) & 0x00040000u) << "shown in the task bar";
    for (const SControl& c : s_aControls)
    {
        SCOPED_TRACE("control " + std::to_string(c.nID));
        EXPECT_EQ(c.pszClass, main.GetClass(c.nID));
        // The pages change only the visible flag. The dialog manager turns an edit field's
        // border into a sunken client edge.
        const DWORD dwStyle = main.GetStyle(c.nID);
        const DWORD dwExStyle = GetWindowLongA(main.GetControl(c.nID), GWL_EXSTYLE);
        const bool bEdgedEdit = std::string(c.pszClass) == "Edit" && (dwExStyle & WS_EX_CLIENTEDGE) != 0;
        const DWORD dwIgnored = WS_VISIBLE | WS_DISABLED | (bEdgedEdit ? WS_BORDER : 0);
        EXPECT_EQ(c.dwStyle & ~dwIgnored, dwStyle & ~dwIgnored);
        const RECT rcExpected = DialogUnitsToPixels(c.x, c.y, c.cx, c.cy, "MS Sans Serif", 8);
        const RECT rc = main.GetRect(c.nID);
        EXPECT_EQ(rcExpected.left, rc.left);
        EXPECT_EQ(rcExpected.top, rc.top);
        EXPECT_EQ(rcExpected.right, rc.right);
        EXPECT_EQ(rcExpected.bottom, rc.bottom);
    }
}

struct SCaption
{
    int nID;
    const char* pszEnglish;
    const char* pszGerman;
};

// German is the template's text; the cancel button reads as page 0 sets it.
const SCaption s_aCaptions[] = {
    {IDCANCEL, "Quit", "Beenden"},
    {IDC_INSTALL, "Install", "Installieren"},
    {IDC_PLAY, "Play", "Spielen"},
    {IDC_NEXT, "Next", "Weiter"},
    {IDC_DIR_FRAME, "Please choose install folder", "Installationsordener w\xE4hlen"},
    {IDC_MENU_FRAME, "Please choose Startmenu folder", "Startmen\xFC" "eintrag w\xE4hlen"},
    {IDC_LICENSE_FRAME, "Confirming of the license agreement", "Bet\xE4tigung der Linzenzvereinbarung"},
    {IDC_ACCEPT, "I accept the agreement", "Ich stimme der Linzenzvereinbarung zu."},
    {IDC_KIND_FRAME, "Please choose kind of installation", "Installationsart w\xE4hlen"},
};

TEST(MainWindowTest, CaptionsFollowTheChosenLanguage)
{
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        EXPECT_EQ("Zanto Demo Setup", main.GetTitle());
        for (const SCaption& caption : s_aCaptions)
            EXPECT_EQ(bEnglish ? caption.pszEnglish : caption.pszGerman, main.GetText(caption.nID));
    }
}

TEST(MainWindowTest, ClosingOnTheFirstPageEndsTheProgram)
{
    struct SClose
    {
        const char* pszHow;
        void (*fnClose)(CWindowDriver&);
    };
    const SClose aWays[] = {
        {"Quit button", [](CWindowDriver& main) { main.Click(IDCANCEL); }},
        {"close box", [](CWindowDriver& main) { PostMessageA(main.GetHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Escape", [](CWindowDriver& main) {
             PostMessageA(main.GetControl(IDC_INSTALL), WM_KEYDOWN, VK_ESCAPE, 0);
         }},
    };
    for (const SClose& way : aWays)
    {
        SCOPED_TRACE(way.pszHow);
        CSetupSession session;
        CWindowDriver main = session.StartInLanguage(true);
        way.fnClose(main);
        ASSERT_TRUE(session.Process().WaitForExit()) << session.Diagnose();
        EXPECT_EQ(0u, session.Process().GetExitCode());
    }
}
