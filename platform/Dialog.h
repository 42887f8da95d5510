// Modal dialogs from resource templates. One static dialog procedure forwards every message to
// the virtual OnMessage of the object, whose switch is the dialog's message map.
#pragma once

#include <windows.h>

#include <string>

class CDataExchange;

class CDialog
{
public:
    explicit CDialog(UINT nIDTemplate, HWND hParent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog in a message loop of its own, so that PreTranslateMessage sees every
    // queued message; returns the code given to EndDialog, or -1 when the window cannot be made.
    INT_PTR DoModal();
    void EndDialog(int nResult);

    HWND GetSafeHwnd() const { return m_hWnd; }

    // true: controls into fields; false: fields into controls.
    bool UpdateData(bool bSaveAndValidate = true);

    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    std::string GetDlgItemText(int nID) const;
    void SetDlgItemText(int nID, const char* pszText) const { ::SetDlgItemTextA(m_hWnd, nID, pszText); }
    void SetDlgItemText(int nID, const std::string& strText) const { SetDlgItemText(nID, strText.c_str()); }
    void EnableDlgItem(int nID, bool bEnable) const { ::EnableWindow(GetDlgItem(nID), bEnable); }
    void ShowDlgItem(int nID, bool bShow) const;
    UINT IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }
    void CheckDlgButton(int nID, UINT nCheck) const { ::CheckDlgButton(m_hWnd, nID, nCheck); }
    void SetWindowText(const char* pszText) const { ::SetWindowTextA(m_hWnd, pszText); }
    void Invalidate(bool bErase = true) const { ::InvalidateRect(m_hWnd, nullptr, bErase); }

    // The hook for every message taken from the modal loop's queue; true means handled.
    virtual bool PreTranslateMessage(MSG* pMsg);

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    // The message map: returns true when the message was handled, with its result in lResult;
    // false leaves the message to the dialog manager.
    virtual bool OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT uMsg, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;
    HWND m_hParent;
    bool m_bModalEnded = false;
    INT_PTR m_nModalResult = -1;
};
