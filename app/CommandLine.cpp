#include "CommandLine.h"

#include <algorithm>
#include <cstring>

namespace
{
bool EqualsNoCase(const std::string& strText, const char* pszWord)
{
    const size_t nLength = std::strlen(pszWord);
    if (strText.size() != nLength)
        return false;
    for (size_t n = 0; n < nLength; ++n)
    {
        const auto upper = [](char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; };
        if (upper(strText[n]) != upper(pszWord[n]))
            return false;
    }
    return true;
}

// Switches that take no value; the last three change nothing, as deployment tools pass them by habit.
struct SFlag
{
    const char* pszName;
    ESilence eSilence;
    bool bHelp;
};

const SFlag s_aFlags[] = {
    {"SILENT", ESilence::Silent, false},
    {"VERYSILENT", ESilence::VerySilent, false},
    {"?", ESilence::None, true},
    {"HELP", ESilence::None, true},
    {"SP-", ESilence::None, false},
    {"SUPPRESSMSGBOXES", ESilence::None, false},
    {"NORESTART", ESilence::None, false},
};

bool ParseValue(const std::string& strName, const std::string& strValue, SSetupOptions& options)
{
    if (strValue.empty())
        return false;
    if (EqualsNoCase(strName, "LANG"))
    {
        if (!EqualsNoCase(strValue, "en") && !EqualsNoCase(strValue, "de"))
            return false;
        options.strLanguage = EqualsNoCase(strValue, "en") ? "en" : "de";
        return true;
    }
    if (EqualsNoCase(strName, "DIR"))
        options.strDir = strValue;
    else if (EqualsNoCase(strName, "GROUP"))
        options.strGroup = strValue;
    else if (EqualsNoCase(strName, "LOG"))
        options.strLog = strValue;
    else
        return false;
    return true;
}

bool ParseSwitch(const std::string& strArgument, SSetupOptions& options)
{
    if (strArgument.size() < 2 || strArgument[0] != '/')
        return false;
    const size_t nEquals = strArgument.find('=');
    const std::string strName = strArgument.substr(1, nEquals == std::string::npos ? std::string::npos : nEquals - 1);
    if (nEquals != std::string::npos)
        return ParseValue(strName, strArgument.substr(nEquals + 1), options);
    for (const SFlag& flag : s_aFlags)
    {
        if (!EqualsNoCase(strName, flag.pszName))
            continue;
        // /VERYSILENT is the stronger of the two, whichever comes first.
        if (flag.eSilence > options.eSilence)
            options.eSilence = flag.eSilence;
        options.bHelp = options.bHelp || flag.bHelp;
        return true;
    }
    return false;
}
}

bool ParseSetupArguments(const std::string& strArguments, SSetupOptions& options)
{
    options = SSetupOptions();
    std::vector<std::string> arguments;
    bool bAllRead = SplitArguments(strArguments, arguments);
    for (const std::string& strArgument : arguments)
        bAllRead = ParseSwitch(strArgument, options) && bAllRead;
    return bAllRead;
}

std::string MenuFolderForm(const std::string& strGroup)
{
    std::string strFolder = strGroup;
    std::replace(strFolder.begin(), strFolder.end(), '/', '\\');
    return strFolder.empty() || strFolder[0] != '\\' ? "\\" + strFolder : strFolder;
}

const char* UsageText(bool bEnglish)
{
    if (bEnglish)
        return "ZantoSetup [/SILENT | /VERYSILENT] [/LANG=en|de] [/DIR=\"folder\"] [/GROUP=\"folder\"] [/LOG=\"file\"]\n"
               "\n"
               "/SILENT\tinstall with the installation page only, accepting the licence\n"
               "/VERYSILENT\tinstall without any window, accepting the licence\n"
               "/LANG=en|de\tthe language\n"
               "/DIR=\"folder\"\tthe install folder\n"
               "/GROUP=\"folder\"\tthe start menu folder\n"
               "/LOG=\"file\"\twrite a log of the run\n"
               "/SP-, /SUPPRESSMSGBOXES, /NORESTART\taccepted, change nothing\n"
               "/?, /HELP\tthis message\n"
               "\n"
               "Exit codes: 0 installed or installed already, 1 could not start, 4 failed and undone, "
               "5 cancelled and undone.";
    return "ZantoSetup [/SILENT | /VERYSILENT] [/LANG=en|de] [/DIR=\"Ordner\"] [/GROUP=\"Ordner\"] [/LOG=\"Datei\"]\n"
           "\n"
           "/SILENT\tinstalliert nur mit der Installationsseite und nimmt die Lizenz an\n"
           "/VERYSILENT\tinstalliert ohne Fenster und nimmt die Lizenz an\n"
           "/LANG=en|de\tdie Sprache\n"
           "/DIR=\"Ordner\"\tder Installationsordner\n"
           "/GROUP=\"Ordner\"\tder Startmenü-Ordner\n"
           "/LOG=\"Datei\"\tschreibt ein Protokoll des Laufs\n"
           "/SP-, /SUPPRESSMSGBOXES, /NORESTART\tangenommen, ändern nichts\n"
           "/?, /HELP\tdiese Meldung\n"
           "\n"
           "Rückgabewerte: 0 installiert oder schon installiert, 1 nicht begonnen, 4 fehlgeschlagen und "
           "rückgängig gemacht, 5 abgebrochen und rückgängig gemacht.";
}
