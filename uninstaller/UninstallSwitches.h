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

// False when a switch is unknown or its value is missing or empty.
bool ParseUninstallArguments(const std::string& strArguments, SUninstallOptions& options);

// The switches in the form in which the original hands them to its copy: the log's path is the
// one given, which the original has made full.
std::string UninstallArguments(const SUninstallOptions& options);
