#include "LayoutCheck.h"

#include "GdiHandles.h"
#include "WindowText.h"

namespace
{
struct SControl
{
    HWND hWnd;
    std::string strClass;
    DWORD dwStyle;
    RECT rc;
};

struct SCollection
{
    HWND hDlg;
    std::vector<SControl> vecControls;
};

BOOL CALLBACK CollectVisible(HWND hChild, LPARAM lParam)
{
    auto& collection = *reinterpret_cast<SCollection*>(lParam);
    if (GetParent(hChild) != collection.hDlg || !(GetWindowLongA(hChild, GWL_STYLE) & WS_VISIBLE))
        return TRUE;
    SControl control{hChild, ReadClassName(hChild), static_cast<DWORD>(GetWindowLongA(hChild, GWL_STYLE)), {}};
    GetWindowRect(hChild, &control.rc);
    MapWindowPoints(nullptr, collection.hDlg, reinterpret_cast<POINT*>(&control.rc), 2);
    collection.vecControls.push_back(control);
    return TRUE;
}

std::vector<SControl> VisibleControls(HWND hDlg)
{
    SCollection collection{hDlg, {}};
    EnumChildWindows(hDlg, CollectVisible, reinterpret_cast<LPARAM>(&collection));
    return collection.vecControls;
}

bool IsGroupBox(const SControl& c)
{
    return c.strClass == "Button" && (c.dwStyle & BS_TYPEMASK) == BS_GROUPBOX;
}

bool IsCheckOrRadio(const SControl& c)
{
    const DWORD dwType = c.dwStyle & BS_TYPEMASK;
    return c.strClass == "Button" && (dwType == BS_CHECKBOX || dwType == BS_AUTOCHECKBOX || dwType == BS_RADIOBUTTON ||
                                      dwType == BS_AUTORADIOBUTTON || dwType == BS_3STATE || dwType == BS_AUTO3STATE);
}

bool Contains(const RECT& rcOuter, const RECT& rcInner)
{
    return rcInner.left >= rcOuter.left && rcInner.top >= rcOuter.top && rcInner.right <= rcOuter.right &&
           rcInner.bottom <= rcOuter.bottom;
}

std::string Describe(const SControl& c)
{
    char szId[16];
    wsprintfA(szId, "%d", GetDlgCtrlID(c.hWnd));
    char szRect[64];
    wsprintfA(szRect, "(%d,%d)-(%d,%d)", c.rc.left, c.rc.top, c.rc.right, c.rc.bottom);
    return c.strClass + " " + szId + " \"" + ReadWindowText(c.hWnd) + "\" " + szRect;
}

// The text's room in its control: what the control's own drawing keeps for frames and boxes.
int TextRoom(const SControl& c, int nFontHeight)
{
    const int nWidth = c.rc.right - c.rc.left;
    if (IsCheckOrRadio(c))
        return nWidth - nFontHeight - nFontHeight / 4;  // the box, as high as the text, and a gap
    if (IsGroupBox(c))
        return nWidth - nFontHeight;  // the caption starts a little in and the line closes it
    if (c.strClass == "Button")
        return nWidth - 4;  // the raised edge
    return nWidth;
}

// Measures the control's text in the dialog's face: a word-wrapping static may use its lines.
std::string TextFault(const SControl& c, HDC hDC)
{
    const std::string strText = ReadWindowText(c.hWnd);
    if (strText.empty())
        return {};
    TEXTMETRICA tm;
    GetTextMetricsA(hDC, &tm);
    const int nFontHeight = tm.tmHeight;
    const int nRoom = TextRoom(c, nFontHeight);
    const bool bWraps = c.strClass == "Static" && (c.dwStyle & SS_TYPEMASK) <= SS_RIGHT;
    RECT rcText = {0, 0, nRoom, 0};
    DrawTextA(hDC, strText.c_str(), -1, &rcText,
              DT_CALCRECT | DT_NOPREFIX | (bWraps ? DT_WORDBREAK : DT_SINGLELINE));
    const int nHeight = c.rc.bottom - c.rc.top;
    if (rcText.right > nRoom || (bWraps && rcText.bottom > nHeight) || (!IsGroupBox(c) && nFontHeight > nHeight))
        return "text cut off: " + Describe(c);
    return {};
}
}

std::vector<RECT> GroupBoxes(HWND hDlg)
{
    std::vector<RECT> vecBoxes;
    for (const SControl& c : VisibleControls(hDlg))
        if (IsGroupBox(c))
            vecBoxes.push_back(c.rc);
    return vecBoxes;
}

std::vector<std::string> LayoutFaults(HWND hDlg, int nFontHeight)
{
    std::vector<std::string> vecFaults;
    const std::vector<SControl> vecControls = VisibleControls(hDlg);
    RECT rcClient;
    GetClientRect(hDlg, &rcClient);

    for (size_t i = 0; i < vecControls.size(); ++i)
    {
        const SControl& a = vecControls[i];
        if (!Contains(rcClient, a.rc))
            vecFaults.push_back("outside the client area: " + Describe(a));
        for (size_t j = i + 1; j < vecControls.size(); ++j)
        {
            const SControl& b = vecControls[j];
            RECT rcCommon;
            if (!IntersectRect(&rcCommon, &a.rc, &b.rc))
                continue;
            if ((IsGroupBox(a) && Contains(a.rc, b.rc)) || (IsGroupBox(b) && Contains(b.rc, a.rc)))
                continue;
            vecFaults.push_back("overlap: " + Describe(a) + " and " + Describe(b));
        }
    }

    if (nFontHeight == 0)
        return vecFaults;
    CMemoryDC dc(nullptr);
    HFONT hFont = CreateFontA(-nFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
    const HGDIOBJ hOld = SelectObject(dc.Get(), hFont);
    for (const SControl& c : vecControls)
    {
        if (c.strClass != "Button" && c.strClass != "Static")
            continue;
        if (c.strClass == "Static" && (c.dwStyle & SS_TYPEMASK) == SS_ICON)
            continue;
        const std::string strFault = TextFault(c, dc.Get());
        if (!strFault.empty())
            vecFaults.push_back(strFault);
    }
    SelectObject(dc.Get(), hOld);
    DeleteObject(hFont);
    return vecFaults;
}
