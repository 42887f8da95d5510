#include "MessageBoxDriver.h"

#include "DriverError.h"
#include "Polling.h"
#include "WindowFinder.h"
#include "WindowText.h"

namespace
{

// Reads made while polling must stay short, so one busy box does not stall the wait.
constexpr DWORD kPollReadTimeoutMs = 500;

bool IsMessageBoxChild(HWND hChild)
{
    const std::string strClass = ReadClassName(hChild);
    const int nId = GetDlgCtrlID(hChild);
    const DWORD dwStyle = static_cast<DWORD>(GetWindowLongW(hChild, GWL_STYLE));
    if (strClass == "Static")
        return nId == kMessageBoxTextId || (dwStyle & SS_TYPEMASK) == SS_ICON;
    if (strClass == "Button")
    {
        const DWORD dwType = dwStyle & BS_TYPEMASK;
        return nId >= IDOK && nId <= IDCONTINUE && (dwType == BS_PUSHBUTTON || dwType == BS_DEFPUSHBUTTON);
    }
    return false;
}

bool TextMatches(const std::string& strText, const std::string& strWanted, ETextMatch eMatch)
{
    return eMatch == ETextMatch::Equals ? strText == strWanted : strText.find(strWanted) != std::string::npos;
}

struct STitledSearch
{
    const std::string* pCaption;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectTitledBox(HWND hWnd, LPARAM lParam)
{
    STitledSearch& search = *reinterpret_cast<STitledSearch*>(lParam);
    if (IsWindowVisible(hWnd) && IsMessageBox(hWnd) && ReadWindowCaption(hWnd) == *search.pCaption)
        search.boxes.push_back(hWnd);
    return TRUE;
}

} // namespace

bool IsMessageBox(HWND hWnd)
{
    if (!IsDialogWindow(hWnd) || !GetDlgItem(hWnd, kMessageBoxTextId))
        return false;
    for (HWND hChild = GetWindow(hWnd, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
    {
        if (!IsMessageBoxChild(hChild))
            return false;
    }
    return true;
}

std::vector<HWND> ListMessageBoxes(DWORD dwPid)
{
    std::vector<HWND> vecBoxes;
    for (HWND hWnd : ListProcessWindows(dwPid))
    {
        if (IsMessageBox(hWnd))
            vecBoxes.push_back(hWnd);
    }
    return vecBoxes;
}

HWND WaitForMessageBox(DWORD dwPid, DWORD dwTimeoutMs)
{
    return WaitForProcessWindow(dwPid, IsMessageBox, dwTimeoutMs);
}

HWND WaitForMessageBoxText(DWORD dwPid, const std::string& strText, ETextMatch eMatch, DWORD dwTimeoutMs)
{
    return WaitForProcessWindow(
        dwPid,
        [&](HWND hWnd) {
            if (!IsMessageBox(hWnd))
                return false;
            const std::optional<std::string> strBoxText =
                TryReadWindowText(GetDlgItem(hWnd, kMessageBoxTextId), kPollReadTimeoutMs);
            return strBoxText && TextMatches(*strBoxText, strText, eMatch);
        },
        dwTimeoutMs);
}

std::vector<HWND> ListMessageBoxesTitled(const std::string& strCaption)
{
    STitledSearch search{&strCaption, {}};
    EnumWindows(CollectTitledBox, reinterpret_cast<LPARAM>(&search));
    return search.boxes;
}

HWND WaitForTitledMessageBox(const std::string& strCaption, const std::string& strText, DWORD dwTimeoutMs)
{
    HWND hFound = nullptr;
    WaitUntil(
        [&] {
            for (HWND hBox : ListMessageBoxesTitled(strCaption))
            {
                const std::optional<std::string> strBoxText =
                    TryReadWindowText(GetDlgItem(hBox, kMessageBoxTextId), kPollReadTimeoutMs);
                if (strBoxText && *strBoxText == strText)
                {
                    hFound = hBox;
                    return true;
                }
            }
            return false;
        },
        dwTimeoutMs);
    return hFound;
}

std::string ReadMessageBoxText(HWND hBox, DWORD dwTimeoutMs)
{
    HWND hText = GetDlgItem(hBox, kMessageBoxTextId);
    if (!hText)
        throw CDriverError("window \"" + ReadWindowCaption(hBox) + "\" is not a message box");
    return ReadWindowText(hText, dwTimeoutMs);
}

std::string ReadMessageBoxCaption(HWND hBox)
{
    return ReadWindowCaption(hBox);
}

void AnswerMessageBox(HWND hBox, int nButtonId)
{
    HWND hButton = GetDlgItem(hBox, nButtonId);
    if (!hButton || !IsWindowVisible(hButton))
        throw CDriverError("message box \"" + ReadWindowCaption(hBox) + "\" has no button " +
                           std::to_string(nButtonId));
    // Clicked like the user would, so the box ends exactly as it does for a real click.
    if (!PostMessageW(hButton, BM_CLICK, 0, 0))
        throw CDriverError("cannot post an answer to message box \"" + ReadWindowCaption(hBox) + "\"");
}

std::vector<std::string> ListMessageBoxTexts(DWORD dwPid)
{
    std::vector<std::string> vecTexts;
    for (HWND hBox : ListMessageBoxes(dwPid))
    {
        const std::optional<std::string> strText =
            TryReadWindowText(GetDlgItem(hBox, kMessageBoxTextId), kPollReadTimeoutMs);
        vecTexts.push_back(strText ? *strText : "(text not readable)");
    }
    return vecTexts;
}

std::string DescribeMessageBoxes(DWORD dwPid)
{
    std::string strDescription;
    for (const std::string& strText : ListMessageBoxTexts(dwPid))
        strDescription += "unexpected message box: " + strText + "\n";
    return strDescription;
}
