// Whether the active keyboard layout is a German one.
#pragma once

// The rule on a layout name such as "00000407": its last four characters, compared without regard
// to case, name German as used in Germany, Switzerland, Austria, Luxembourg or Liechtenstein.
bool IsGermanLayoutName(const char* pszLayoutName);

// An unreadable layout counts as German.
bool IsGermanKeyboardLayout();
