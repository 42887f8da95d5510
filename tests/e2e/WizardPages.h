// Walking the main window's wizard pages from outside, as a user does.
#pragma once

#include <windows.h>

#include "WindowDriver.h"

// Every control that a page shows or hides.
extern const int g_anPageControls[18];

// The control that only page nPage shows.
int MarkerOf(int nPage);
// The page that the main window shows now, or -1.
int PageOf(const CWindowDriver& main);

// A sent message waits until the program has finished the one it is handling, so a page it
// has begun to show is complete when this returns.
void Settle(const CWindowDriver& main);
bool WaitForPage(const CWindowDriver& main, int nPage);
// From page nPage to the next one: the licence needs its box ticked. Next on the start menu page
// installs into whatever folders the pages hold, the machine's own by default: these walks end
// there and throw when asked for more (see StartInstallAndCancel and InstallThroughWizard).
bool GoForward(const CWindowDriver& main, int nPage);
bool WalkTo(const CWindowDriver& main, int nPage);

const char* Text(bool bEnglish, const char* pszEnglish, const char* pszGerman);

// The control that has the keyboard focus in the program's thread.
HWND FocusOf(HWND hWindow);
void PressKey(HWND hTarget, UINT nKey);

// Proves that what the test posted to the main window's thread before (a click, a key) has been
// handled, and what that posted in turn: a marker is posted behind it, twice, and each is waited
// for. The marker is a new text limit of the install folder's edit box, put back afterwards. (A
// sent message would be handled before the posted ones and prove nothing.) False when a marker
// was not handled within the timeout.
bool WaitForPostedInputHandled(const CWindowDriver& main);
