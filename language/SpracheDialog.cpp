#include "SpracheDialog.h"

#include "KeyboardLayout.h"
#include "resource.h"

CSpracheDialog::CSpracheDialog(HWND hParent) : CDialog(IDD_SPRACHE, hParent)
{
}

BOOL CSpracheDialog::OnInitDialog()
{
    CDialog::OnInitDialog();

    m_bEnglishCaptions = !IsGermanKeyboardLayout();
    if (m_bEnglishCaptions)
    {
        SetWindowText("Choose language");
        SetDlgItemText(IDC_LANG_GERMAN, "English");
        SetDlgItemText(IDC_LANG_ENGLISH, "German");
    }
    CheckDlgButton(IDC_LANG_GERMAN, BST_CHECKED);
    return TRUE;
}

// The only button is the cancel command, so OK, Enter, Escape and the close box all end here.
void CSpracheDialog::OnCancel()
{
    UpdateData(true);
    const bool bUpperChecked = IsDlgButtonChecked(IDC_LANG_GERMAN) != BST_UNCHECKED;
    m_bChoseEnglish = m_bEnglishCaptions ? bUpperChecked : !bUpperChecked;
    CDialog::OnCancel();
}
