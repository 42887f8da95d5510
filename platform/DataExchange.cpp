#include "DataExchange.h"

#include "Controls.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CControl& control)
{
    if (control.m_hWnd == nullptr)
        control.m_hWnd = GetDlgItem(pDX->m_hDlg, nIDC);
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& strValue)
{
    HWND hControl = GetDlgItem(pDX->m_hDlg, nIDC);
    if (pDX->m_bSaveAndValidate)
        strValue = GetWindowTextString(hControl);
    else
        SetWindowTextA(hControl, strValue.c_str());
}

std::string GetWindowTextString(HWND hWnd)
{
    const int nLength = GetWindowTextLengthA(hWnd);
    if (nLength <= 0)
        return std::string();
    std::string strText(static_cast<size_t>(nLength) + 1, '\0');
    const int nCopied = GetWindowTextA(hWnd, &strText[0], nLength + 1);
    strText.resize(nCopied > 0 ? static_cast<size_t>(nCopied) : 0);
    return strText;
}
