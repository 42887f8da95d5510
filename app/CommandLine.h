// The switches of ZantoSetup.exe: pure rules on the command line's text.
#pragma once

#include <string>

#include "Arguments.h"

enum class ESilence
{
    None,
    // The installation page only, closing itself at the end.
    Silent,
    // No window at all.
    VerySilent,
};

struct SSetupOptions
{
    ESilence eSilence = ESilence::None;
    bool bHelp = false;
    // "en" or "de"; empty when not given.
    std::string strLanguage;
    // The values as given, without their quotes; empty when not given.
    std::string strDir;
    std::string strGroup;
    std::string strLog;
};

// Reads every switch; false when one is unknown or its value is missing, empty or not allowed.
// The silence of the switches that were read is set even then, so that a silent run with a bad
// switch still shows nothing.
bool ParseSetupArguments(const std::string& strArguments, SSetupOptions& options);

// A start menu folder as the start menu page takes it: "\\" for "/", and one leading "\\".
std::string MenuFolderForm(const std::string& strGroup);

// The text of the usage box: the switches and the exit codes.
const char* UsageText(bool bEnglish);
