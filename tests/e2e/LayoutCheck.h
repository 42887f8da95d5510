// What a user would see wrong in a dialog's layout: a control outside the client area, two
// controls on top of each other, a text cut off by its control.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One line per fault among the dialog's visible controls, empty when there is none. Group boxes
// may hold controls, wholly; every other pair must not meet. Texts are measured in the dialog
// font's face at nFontHeight pixels; with 0 the texts are not measured (a message box's font is
// the system's own).
std::vector<std::string> LayoutFaults(HWND hDlg, int nFontHeight);

// The visible group boxes of the dialog, in client coordinates.
std::vector<RECT> GroupBoxes(HWND hDlg);
