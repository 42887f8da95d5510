#include "DialogUnits.h"

#include "AnsiText.h"
#include "DriverError.h"

#include <vector>

namespace
{

// Owns a window and destroys it when it goes out of scope.
class CScopedWindow
{
public:
    explicit CScopedWindow(HWND hWnd)
        : m_hWnd(hWnd)
    {
    }
    ~CScopedWindow()
    {
        if (m_hWnd)
            DestroyWindow(m_hWnd);
    }

    CScopedWindow(const CScopedWindow&) = delete;
    CScopedWindow& operator=(const CScopedWindow&) = delete;

    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

INT_PTR CALLBACK IgnoreDialogMessage(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

void AppendDword(std::vector<WORD>& vecTemplate, DWORD dwValue)
{
    vecTemplate.push_back(LOWORD(dwValue));
    vecTemplate.push_back(HIWORD(dwValue));
}

// A hidden, empty DLGTEMPLATE whose only purpose is to carry the font.
std::vector<WORD> BuildFontTemplate(const std::string& strFaceName, WORD wPointSize)
{
    std::vector<WORD> vecTemplate;
    AppendDword(vecTemplate, WS_POPUP | DS_SETFONT);
    AppendDword(vecTemplate, 0);
    vecTemplate.push_back(0);
    vecTemplate.insert(vecTemplate.end(), {0, 0, 100, 100});
    vecTemplate.insert(vecTemplate.end(), {0, 0, 0});
    vecTemplate.push_back(wPointSize);
    for (wchar_t ch : AnsiToWide(strFaceName))
        vecTemplate.push_back(static_cast<WORD>(ch));
    vecTemplate.push_back(0);
    return vecTemplate;
}

} // namespace

RECT DialogUnitsToPixels(int x, int y, int cx, int cy, const std::string& strFaceName, WORD wPointSize)
{
    // The vector's storage comes from operator new, aligned well beyond the
    // DWORD alignment a dialog template needs.
    const std::vector<WORD> vecTemplate = BuildFontTemplate(strFaceName, wPointSize);
    const CScopedWindow dialog(CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(vecTemplate.data()), nullptr,
        IgnoreDialogMessage, 0));
    if (!dialog.Get())
        throw CDriverError("cannot create a dialog with font " + strFaceName + " " + std::to_string(wPointSize) +
                           ": error " + std::to_string(GetLastError()));

    RECT rc = {x, y, cx, cy};
    if (!MapDialogRect(dialog.Get(), &rc))
        throw CDriverError("MapDialogRect failed for font " + strFaceName);
    return RECT{rc.left, rc.top, rc.left + rc.right, rc.top + rc.bottom};
}
