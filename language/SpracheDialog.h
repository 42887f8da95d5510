// The language dialog: German or English, preset from the keyboard layout.
#pragma once

#include "Dialog.h"

class CSpracheDialog : public CDialog
{
public:
    explicit CSpracheDialog(HWND hParent = nullptr);

    // The result, set when the dialog closes: true when English was chosen.
    bool m_bChoseEnglish = false;
    // True when the layout is not German: the dialog speaks English and the upper button is English.
    bool m_bEnglishCaptions = false;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
};
