#pragma once

#include "DriverTimeouts.h"

#include <string>

// Drives one dialog of the program under test by control identifier. Every
// call that needs a control throws CDriverError when the dialog has none with
// that identifier or the target does not answer within the timeout.
class CWindowDriver
{
public:
    explicit CWindowDriver(HWND hDlg, DWORD dwTimeoutMs = kDefaultTimeoutMs);

    HWND GetHwnd() const { return m_hDlg; }

    // The control's window, or nullptr when the dialog has no such control.
    HWND FindControl(int nId) const;
    HWND GetControl(int nId) const;

    std::string GetTitle() const;
    std::string GetText(int nId) const;
    void SetText(int nId, const std::string& strText) const;

    // The control's own WS_VISIBLE flag: a control shown on a hidden page counts as visible.
    bool IsVisible(int nId) const;
    bool IsEnabled(int nId) const;
    DWORD GetStyle(int nId) const;
    std::string GetClass(int nId) const;

    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck(int nId) const;

    // Posts BM_CLICK and returns at once: a modal box the click opens does not
    // block the test. The click is handled later; wait for its effect.
    void Click(int nId) const;

    // The control's rectangle in the dialog's client coordinates, in pixels.
    RECT GetRect(int nId) const;

private:
    HWND m_hDlg;
    DWORD m_dwTimeoutMs;
};
