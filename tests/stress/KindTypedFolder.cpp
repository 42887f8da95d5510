#include "Kinds.h"

#include <cstdlib>

#include "InstallRun.h"
#include "KindSteps.h"
#include "SetupSession.h"

namespace
{
enum class EFolder
{
    Typed,        // the text below is typed on the folder page
    SmallDrive,   // a folder on the test drive of 1 MiB
    BigDrive,     // a folder on the test drive with room
    ProductName,  // the configuration's product folder name is the text, the proposed folder kept
};

struct STypedFolder
{
    const char* pszWhat;
    EFolder eFolder;
    const char* pszText; // "%s" stands for the case's own install folder
    bool bUsable;
};

const STypedFolder s_aFolders[] = {
    {"empty", EFolder::Typed, "", false},
    {"relative", EFolder::Typed, "Zanto", false},
    {"relative with folders", EFolder::Typed, "Spiele\\Zanto", false},
    {"without a drive", EFolder::Typed, "\\Spiele\\Zanto", false},
    {"drive-relative", EFolder::Typed, "C:Zanto", false},
    {"a drive root", EFolder::Typed, "C:\\", false},
    {"a network path", EFolder::Typed, "\\\\server\\share\\Zanto", false},
    {"a parent component", EFolder::Typed, "%s\\..\\Zanto", false},
    {"a dot component", EFolder::Typed, "%s\\.\\Zanto", false},
    {"a device name", EFolder::Typed, "C:\\CON", false},
    {"a device name with an extension", EFolder::Typed, "%s\\nul.txt", false},
    {"a forbidden character", EFolder::Typed, "%s\\a|b", false},
    {"a trailing dot", EFolder::Typed, "%s.", false},
    {"a drive that is not there", EFolder::Typed, "Q:\\Zanto", false},
    {"a full drive", EFolder::SmallDrive, "", false},
    {"a drive with room", EFolder::BigDrive, "", true},
    {"a trailing backslash", EFolder::Typed, "%s\\", true},
    {"forward slashes", EFolder::Typed, "%s", true},
    {"the picker's doubled backslash", EFolder::Typed, "%s", true},
    {"product folder \"..\\Zanto\"", EFolder::ProductName, "..\\Zanto", false},
    {"product folder \"..\"", EFolder::ProductName, "..", false},
    {"product folder \"CON\"", EFolder::ProductName, "CON", false},
    {"product folder \"Zanto\\..\\..\\x\"", EFolder::ProductName, "Zanto\\..\\..\\x", false},
};

std::string Expand(const char* pszText, const std::string& strOwn)
{
    std::string strText = pszText;
    const std::size_t nAt = strText.find("%s");
    if (nAt != std::string::npos)
        strText.replace(nAt, 2, strOwn);
    return strText;
}
}

// Only a full local path of plain names on a drive with room leads on from the folder page;
// the valid forms of a folder install and go again.
void RunTypedFolderCase(SCaseResult& result, const SCampaignOptions& options)
{
    const STypedFolder& folder = s_aFolders[result.nIndex % (sizeof(s_aFolders) / sizeof(s_aFolders[0]))];
    const bool bEnglish = result.nIndex % 2 == 0;
    result.strWhat = std::string("typed install folder: ") + folder.pszWhat + (bEnglish ? " (English)" : " (German)");
    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    run.ExpectDemoPayload(true);
    const std::string strOwn = run.InstallDir();
    std::string strTyped = Expand(folder.pszText, strOwn);
    if (std::string(folder.pszWhat) == "forward slashes")
        for (char& ch : strTyped)
            if (ch == '\\')
                ch = '/';
    if (std::string(folder.pszWhat) == "the picker's doubled backslash")
        strTyped = strOwn.substr(0, 3) + "\\" + strOwn.substr(3);
    if (folder.eFolder == EFolder::SmallDrive || folder.eFolder == EFolder::BigDrive)
    {
        if (options.strDrive.empty())
        {
            result.strWhat += " (no test drive)";
            result.strOutcome = "skipped";
            return;
        }
        strTyped = options.strDrive + ":\\Zanto " + run.Sandbox().substr(run.Sandbox().find_last_of('\\') + 1);
        run.AddWatchedTree(options.strDrive + ":\\");
        if (folder.eFolder == EFolder::SmallDrive)
        {
            // More than the drive holds.
            WriteTextFile(run.Session().MediumFile(IniName(bEnglish).c_str()),
                          "Folder:Zanto\r\nSize:200000000\r\nLanguageSize:1000\r\n");
        }
    }
    if (folder.eFolder == EFolder::ProductName)
    {
        const std::string strIni = run.Session().MediumFile(IniName(bEnglish).c_str());
        const std::string strConfig = ReadFileBytes(strIni);
        WriteTextFile(strIni, std::string("Folder:") + folder.pszText + strConfig.substr(strConfig.find('\n')));
        run.KeepProposedFolder();
    }
    else
        run.SetInstallDir(strTyped);
    run.Snapshot();
    if (!run.Launch())
    {
        Finish(run);
        return;
    }
    const EInstallOutcome eInstall = InstallAndRemove(run, result);
    const bool bLedOn = eInstall != EInstallOutcome::NoRoom && eInstall != EInstallOutcome::Broken;
    if (bLedOn != folder.bUsable)
        run.Count(kBehaviour,
                  folder.bUsable ? "Next stayed disabled for a usable folder" : "Next led on from an unusable folder");
    Finish(run);
}
