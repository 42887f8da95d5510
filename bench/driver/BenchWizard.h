// The wizard as both benchmark drivers drive it: in English, up to its start menu page.
#pragma once

#include <windows.h>

#include <string>

#include "ProcessUnderTest.h"
#include "WindowDriver.h"

// The language dialog, in either of its languages.
bool IsLanguageDialog(HWND hWnd);

// Seconds on the performance counter.
double Now();

// Starts strMedium\ZantoSetup.exe, chooses English and walks to the start menu page with the
// folders typed in; returns the main window there.
CWindowDriver OpenStartMenuPage(CProcessUnderTest& process, const std::string& strMedium,
                                const std::string& strInstallDir, const std::string& strMenuFolder);
