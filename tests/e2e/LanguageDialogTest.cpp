#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "Polling.h"
#include "SetupSession.h"
#include "WindowFinder.h"
#include "resource.h"

namespace
{
// The template names the radio buttons after their German captions; which language each one
// stands for depends on the layout, so the tests speak of their places.
constexpr int kUpperRadio = IDC_LANG_GERMAN;
constexpr int kLowerRadio = IDC_LANG_ENGLISH;

struct SLayoutTexts
{
    bool bGermanLayout;
    const char* pszTitle;
    const char* pszUpper;
    const char* pszLower;
};

const SLayoutTexts s_aLayoutTexts[] = {
    {true, "Sprache ausw\xE4hlen", "Deutsch", "Englisch"},
    {false, "Choose language", "English", "German"},
};

const SLayoutTexts& LayoutTexts()
{
    return s_aLayoutTexts[0].bGermanLayout == IsGermanLayoutRun() ? s_aLayoutTexts[0] : s_aLayoutTexts[1];
}

BOOL CALLBACK CollectChild(HWND hChild, LPARAM lParam)
{
    reinterpret_cast<std::vector<int>*>(lParam)->push_back(GetDlgCtrlID(hChild));
    return TRUE;
}

std::vector<int> ChildIds(HWND hWnd)
{
    std::vector<int> vecIds;
    EnumChildWindows(hWnd, CollectChild, reinterpret_cast<LPARAM>(&vecIds));
    return vecIds;
}

// The control that has the keyboard focus in the dialog's thread; the dialog itself if none has.
HWND FocusOf(HWND hDlg)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, nullptr), &info);
    return info.hwndFocus != nullptr ? info.hwndFocus : hDlg;
}

struct SCloseWay
{
    const char* pszName;
    void (*fnClose)(const CWindowDriver&);
};

const SCloseWay s_aCloseWays[] = {
    {"OkButton", [](const CWindowDriver& dlg) { dlg.Click(IDCANCEL); }},
    {"Enter", [](const CWindowDriver& dlg) { PostMessageA(FocusOf(dlg.GetHwnd()), WM_KEYDOWN, VK_RETURN, 0); }},
    {"Escape", [](const CWindowDriver& dlg) { PostMessageA(FocusOf(dlg.GetHwnd()), WM_KEYDOWN, VK_ESCAPE, 0); }},
    {"CloseBox", [](const CWindowDriver& dlg) { PostMessageA(dlg.GetHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"WmClose", [](const CWindowDriver& dlg) { PostMessageA(dlg.GetHwnd(), WM_CLOSE, 0, 0); }},
};

// The radio buttons clicked in order before closing; the last one clicked, or the preset upper
// one when none is, is the choice.
struct SChoice
{
    const char* pszName;
    std::vector<int> vecClicks;
};

const SChoice s_aChoices[] = {
    {"PresetUpper", {}},
    {"Lower", {kLowerRadio}},
    {"LowerThenUpper", {kLowerRadio, kUpperRadio}},
};

void PrintTo(const SCloseWay& way, std::ostream* pStream)
{
    *pStream << way.pszName;
}

void PrintTo(const SChoice& choice, std::ostream* pStream)
{
    *pStream << choice.pszName;
}

struct SOutcome
{
    bool bGermanLayout;
    int nChosen;
    bool bEnglish;
};

const SOutcome s_aOutcomes[] = {
    {true, kUpperRadio, false},
    {true, kLowerRadio, true},
    {false, kUpperRadio, true},
    {false, kLowerRadio, false},
};

bool ExpectsEnglish(int nChosen)
{
    for (const SOutcome& outcome : s_aOutcomes)
    {
        if (outcome.bGermanLayout == IsGermanLayoutRun() && outcome.nChosen == nChosen)
            return outcome.bEnglish;
    }
    throw std::logic_error("no outcome for radio " + std::to_string(nChosen));
}
}

TEST(LanguageDialogTest, ComesFirstInTheLayoutsLanguageWithTheUpperButtonChecked)
{
    const SLayoutTexts& texts = LayoutTexts();
    CSetupSession session;
    session.Start();
    CWindowDriver dlg(session.WaitForLanguageDialog());

    EXPECT_TRUE(IsDialogWindow(dlg.GetHwnd()));
    EXPECT_EQ(texts.pszTitle, dlg.GetTitle());
    EXPECT_EQ((std::vector<HWND>{dlg.GetHwnd()}), ListProcessWindows(session.Process().GetPid()))
        << "the main window must not show before the language is chosen";
    EXPECT_NE(0u, GetWindowLongA(dlg.GetHwnd(), GWL_STYLE) & WS_SYSMENU) << "the dialog has a close box";

    EXPECT_EQ((std::vector<int>{IDCANCEL, kUpperRadio, kLowerRadio}), ChildIds(dlg.GetHwnd()));
    EXPECT_EQ("OK", dlg.GetText(IDCANCEL));
    EXPECT_EQ(static_cast<DWORD>(BS_DEFPUSHBUTTON), dlg.GetStyle(IDCANCEL) & BS_TYPEMASK);
    EXPECT_EQ(texts.pszUpper, dlg.GetText(kUpperRadio));
    EXPECT_EQ(texts.pszLower, dlg.GetText(kLowerRadio));
    for (const int nRadio : {kUpperRadio, kLowerRadio})
        EXPECT_EQ(static_cast<DWORD>(BS_AUTORADIOBUTTON), dlg.GetStyle(nRadio) & BS_TYPEMASK) << nRadio;
    EXPECT_EQ(BST_CHECKED, dlg.GetCheck(kUpperRadio));
    EXPECT_EQ(BST_UNCHECKED, dlg.GetCheck(kLowerRadio));
}

class LanguageChoiceTest : public testing::TestWithParam<std::tuple<SCloseWay, SChoice>>
{
};

TEST_P(LanguageChoiceTest, MainWindowSpeaksTheChosenLanguage)
{
    const SCloseWay& way = std::get<0>(GetParam());
    const SChoice& choice = std::get<1>(GetParam());
    CSetupSession session;
    session.Start();
    CWindowDriver dlg(session.WaitForLanguageDialog());

    int nChosen = kUpperRadio;
    for (const int nRadio : choice.vecClicks)
    {
        dlg.Click(nRadio);
        const int nOther = nRadio == kUpperRadio ? kLowerRadio : kUpperRadio;
        ASSERT_TRUE(WaitUntil([&] {
            return dlg.GetCheck(nRadio) == BST_CHECKED && dlg.GetCheck(nOther) == BST_UNCHECKED;
        })) << "radio " << nRadio << " not checked alone";
        nChosen = nRadio;
    }
    way.fnClose(dlg);

    CWindowDriver main(session.WaitForMainWindow());
    ASSERT_TRUE(WaitForWindowGone(dlg.GetHwnd())) << "the language dialog stayed";
    const bool bEnglish = ExpectsEnglish(nChosen);
    EXPECT_EQ("Zanto Demo Setup", main.GetTitle());
    EXPECT_EQ(bEnglish ? "Quit" : "Beenden", main.GetText(IDCANCEL));
    EXPECT_EQ(bEnglish ? "Install" : "Installieren", main.GetText(IDC_INSTALL));
}

INSTANTIATE_TEST_SUITE_P(
    WaysAndChoices, LanguageChoiceTest,
    testing::Combine(testing::ValuesIn(s_aCloseWays), testing::ValuesIn(s_aChoices)),
    [](const testing::TestParamInfo<std::tuple<SCloseWay, SChoice>>& info) {
        return std::string(std::get<0>(info.param).pszName) + "_" + std::get<1>(info.param).pszName;
    });
