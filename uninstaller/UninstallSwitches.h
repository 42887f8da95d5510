// The switches of uninstall.exe: pure rules on the command line's text.
#pragma once

#include <string>

struct SUninstallOptions
{
    // /SILENT or /VERYSILENT: no question, no closing message, no file error box.
    bool bSilent = false;
    // /LOG's file as given; empty when not given.
    std::string strLog;
};

// Arguments are separated by blanks outside double quotes, which are dropped. False when a
// switch is unknown, its value is missing or empty, or a quote is never closed; the silence of
// the other switches is read all the same, so that a silent run with a bad switch shows nothing.
bool ParseUninstallArguments(const char* pszArguments, SUninstallOptions& options);

// The switches in the form in which the original hands them to its copy.
std::string UninstallArguments(const SUninstallOptions& options);
