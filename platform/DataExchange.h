// Data exchange between a dialog's controls and its fields, in one direction per call.
#pragma once

#include <windows.h>

#include <string>

class CControl;

class CDataExchange
{
public:
    CDataExchange(HWND hDlg, bool bSaveAndValidate) : m_hDlg(hDlg), m_bSaveAndValidate(bSaveAndValidate) {}

    HWND m_hDlg;
    // true: controls into fields; false: fields into controls.
    bool m_bSaveAndValidate;
};

// Attaches the control object to the dialog's control window the first time.
void DDX_Control(CDataExchange* pDX, int nIDC, CControl& control);

// Copies a control's text and a string field, without validation.
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& strValue);

std::string GetWindowTextString(HWND hWnd);
