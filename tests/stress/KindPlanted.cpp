#include "Kinds.h"

#include <algorithm>
#include <memory>

#include "FolderLink.h"
#include "InstallRun.h"
#include "KindSteps.h"
#include "Planted.h"
#include "Random.h"
#include "SetupSession.h"

namespace
{
// Where a stranger leaves files for the programs to find.
enum EPlace
{
    kBesideSetup,  // libraries beside ZantoSetup.exe on the medium
    kStartFolder,  // libraries in the folder the setup program is started from
    kTempFolder,   // libraries and commands in the temporary folder during uninstall.exe's run
    kCountPlaces
};
const char* const s_apszPlaces[kCountPlaces] = {"libraries beside the setup program",
                                                "libraries in the folder it is started from",
                                                "libraries and commands in the temporary folder"};

// A line added to the installation's list, from the install folder and the folder link "j" in it.
const char* const s_apszLines[] = {"no line", "F through a folder link with /", "D through a folder link with /",
                                   "K of a file behind a folder link with /", "K under a name the program never keeps"};
constexpr unsigned kCountLines = sizeof(s_apszLines) / sizeof(s_apszLines[0]);

std::string ListLine(unsigned nLine, const std::string& strDir)
{
    switch (nLine)
    {
    case 1:
        return "F " + strDir + "/j/precious.txt";
    case 2:
        return "D " + strDir + "/j/inner";
    case 3:
        return "K " + strDir + "\\readme.txt\t" + strDir + "/j/precious.txt";
    default:
        return "K " + strDir + "\\readme.txt\t" + strDir + "\\settings.exe";
    }
}

// The planted files that ran, each counted: its marker is a write of a stranger's code.
void CountRan(CCaseRun& run, const CPlantedFiles& planted)
{
    for (const std::string& strRan : planted.Ran())
        run.Count(kOutside, "a planted file ran: " + strRan);
}

// A damaged list's removal takes the record and the shortcuts, and nothing in the install folder
// nor behind the link.
void RemoveWithDamagedList(CCaseRun& run, bool bUninstallProgram, const std::string& strOutside,
                           const std::vector<std::string>& installed)
{
    if (bUninstallProgram ? !run.UninstallProgram() : !run.Deinstall())
    {
        if (!run.Broken())
            run.Count(kRecord, "the removal with a damaged list did not finish");
        return;
    }
    if (!RecordValues().empty())
        run.Count(kRecord, "the record stays after the removal with a damaged list");
    if (FilesBelow(run.InstallDir()) != installed)
        run.Count(kChanged, "the removal with a damaged list changed the install folder");
    if (!LongPathExists(strOutside + "\\precious.txt") || !LongPathExists(strOutside + "\\inner\\precious.txt"))
        run.Count(kChanged, "the removal with a damaged list reached behind the folder link");
}
}

// Files of a stranger's where the programs look, and list lines that reach behind a folder link:
// nothing planted runs, and nothing behind the link or, with a damaged list, in the install folder
// is touched. The seed chooses which names are planted.
void RunPlantedCase(SCaseResult& result, const SCampaignOptions& options)
{
    const EPlace ePlace = static_cast<EPlace>(result.nIndex % kCountPlaces);
    const unsigned nLine = (result.nIndex / kCountPlaces) % kCountLines;
    const bool bUninstallProgram = ePlace == kTempFolder || (result.nIndex / (kCountPlaces * kCountLines)) % 2 == 1;
    // Without a list it can read, uninstall.exe speaks the keyboard layout's language: English in
    // the campaign's runs.
    const bool bEnglish = result.nIndex % 2 == 0 || (bUninstallProgram && nLine != 0);
    result.strWhat = std::string("planted: ") + s_apszPlaces[ePlace] + ", " + s_apszLines[nLine] + ", removed by " +
                     (bUninstallProgram ? "uninstall.exe" : "Deinstall") + (bEnglish ? " (English)" : " (German)");
    CRandom random(result.nSeed);
    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    run.ExpectDemoPayload(true);

    const std::string strOutside = run.Sandbox() + "\\outside";
    CreateDirectoryA(strOutside.c_str(), nullptr);
    CreateDirectoryA((strOutside + "\\inner").c_str(), nullptr);
    WriteTextFile(strOutside + "\\precious.txt", "the user's");
    WriteTextFile(strOutside + "\\inner\\precious.txt", "the user's too");
    const std::string strStart = run.Sandbox() + "\\start";
    CreateDirectoryA(strStart.c_str(), nullptr);
    std::vector<std::string> names = LibraryNamesLoadedByName();
    // Half of the names at random, but never none.
    names.erase(std::remove_if(names.begin() + 1, names.end(), [&](const std::string&) { return random.Below(2) == 0; }),
                names.end());
    std::unique_ptr<CPlantedFiles> planted;
    if (ePlace == kBesideSetup)
        planted = std::make_unique<CPlantedFiles>(run.Medium(), names, false);
    else if (ePlace == kStartFolder)
    {
        planted = std::make_unique<CPlantedFiles>(strStart, names, false);
        run.Session().SetStartFolder(strStart);
    }
    run.Snapshot();
    if (!LaunchAndInstall(run, result))
        return;
    if (ePlace == kTempFolder)
        planted = std::make_unique<CPlantedFiles>(TempFolder(), names, true);
    // A marker is counted once, as what it is.
    for (const std::string& strPath : planted->Paths())
    {
        run.AddOwnPath(strPath);
        run.AddOwnPath(strPath + ".marker");
    }
    if (nLine == 0)
        RemoveInstallation(run, bUninstallProgram);
    else
    {
        const std::string strList = run.InstallDir() + "\\uninstall.dat";
        WriteTextFile(strList, ReadFileBytes(strList) + ListLine(nLine, run.InstallDir()) + "\r\n");
        const std::string strLink = run.InstallDir() + "\\j";
        if (!MakeFolderLink(strLink, strOutside))
            run.Count(kHarness, "cannot make the folder link " + strLink);
        else
        {
            const std::vector<std::string> installed = FilesBelow(run.InstallDir());
            RemoveWithDamagedList(run, bUninstallProgram, strOutside, installed);
            RemoveFolderLink(strLink);
        }
        // The campaign takes away what the damaged list kept, as a user would.
        RemoveFolder(run.InstallDir());
    }
    CountRan(run, *planted);
    // The planted files stay until the end: the medium and the start folder had them before.
    Finish(run);
}
