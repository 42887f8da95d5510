// The About box, opened from the system menu.
#pragma once

#include "Dialog.h"
#include "UniqueHandle.h"
#include "resource.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

protected:
    BOOL OnInitDialog() override;

private:
    // The program's icon at the size of this DPI; the icon control only shows it.
    CUniqueIcon m_hIcon;
};
