#include "KindTypedFolders.h"

#include <cstdio>
#include <cstdlib>

#include "DriverError.h"
#include "Folders.h"
#include "InstallRun.h"
#include "SetupSession.h"
#include "Snapshot.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
// What the folder page must make of a typed folder.
enum class EPage
{
    Refused, // not a full local path: no free figure, Next off
    NoRoom,  // a full local path on a drive without room: its figure, Next off
    Install, // a form that stays valid: its figure, Next on, and the installation goes there
};

// The places a case's folders are made of.
struct SPlaces
{
    std::string strDefault; // the case's new install folder, sandbox\parent\Zanto
    std::string strParent;  // its parent, which holds files of its own
    std::string strBig;     // the test drive with room, or empty
    std::string strSmall;   // the test drive of 1 MiB, or empty
    std::string strUnique;  // a name of this case
};

struct STypedFolder
{
    const char* pszWhat;
    EPage ePage;
    std::string (*pfnTyped)(const SPlaces& places);
    // The test drive that the folder lies on, as the session names it; nullptr for drive C:.
    const char* pszDriveVariable = nullptr;
};

std::string WithSlashes(std::string strPath)
{
    for (char& ch : strPath)
        if (ch == '\\')
            ch = '/';
    return strPath;
}

const STypedFolder s_aTypedFolders[] = {
    {"empty", EPage::Refused, [](const SPlaces&) { return std::string(); }},
    {"relative, one name", EPage::Refused, [](const SPlaces&) { return std::string("Zanto"); }},
    {"relative, two names", EPage::Refused, [](const SPlaces&) { return std::string("parent\\Zanto"); }},
    {"without a drive", EPage::Refused, [](const SPlaces& p) { return p.strDefault.substr(2); }},
    {"a drive without its root", EPage::Refused, [](const SPlaces& p) { return "C:" + p.strDefault.substr(3); }},
    {"a \".\" component", EPage::Refused, [](const SPlaces& p) { return p.strParent + "\\.\\Zanto"; }},
    {"a \"..\" component leading back", EPage::Refused, [](const SPlaces& p) { return p.strParent + "\\keep\\..\\Zanto"; }},
    {"\"..\" climbing out of the sandbox", EPage::Refused, [](const SPlaces& p) { return p.strParent + "\\..\\..\\Zanto"; }},
    {"\"..\" at the end", EPage::Refused, [](const SPlaces& p) { return p.strDefault + "\\.."; }},
    {"a UNC path", EPage::Refused, [](const SPlaces&) { return std::string("\\\\server\\share\\Zanto"); }},
    {"a UNC path with slashes", EPage::Refused, [](const SPlaces&) { return std::string("//server/share/Zanto"); }},
    {"a device path", EPage::Refused, [](const SPlaces& p) { return "\\\\?\\" + p.strDefault; }},
    {"the device CON", EPage::Refused, [](const SPlaces& p) { return p.strParent + "\\CON"; }},
    {"the device NUL with an extension", EPage::Refused, [](const SPlaces& p) { return p.strParent + "\\nul.txt"; }},
    {"the device COM1 as a folder", EPage::Refused, [](const SPlaces& p) { return p.strParent + "\\COM1\\Zanto"; }},
    {"the device LPT1 with an extension", EPage::Refused, [](const SPlaces& p) { return p.strParent + "\\Lpt1.log"; }},
    {"forbidden characters <>", EPage::Refused, [](const SPlaces& p) { return p.strParent + "\\Zanto <1>"; }},
    {"a forbidden |", EPage::Refused, [](const SPlaces& p) { return p.strParent + "\\Zan|to"; }},
    {"a trailing dot", EPage::Refused, [](const SPlaces& p) { return p.strDefault + "."; }},
    {"a trailing blank in a name", EPage::Refused, [](const SPlaces& p) { return p.strParent + " \\Zanto"; }},
    {"a drive letter that is a digit", EPage::Refused, [](const SPlaces&) { return std::string("1:\\Zanto"); }},
    {"a drive that does not exist", EPage::Refused, [](const SPlaces&) { return std::string("Q:\\Zanto"); }},
    {"another drive, full", EPage::NoRoom, [](const SPlaces& p) { return p.strSmall + ":\\Zanto"; },
     "ZANTO_SMALL_DRIVE"},
    {"a trailing backslash", EPage::Install, [](const SPlaces& p) { return p.strDefault + "\\"; }},
    {"slashes", EPage::Install, [](const SPlaces& p) { return WithSlashes(p.strDefault); }},
    {"the picker's doubled backslash after the drive root", EPage::Install,
     [](const SPlaces& p) { return "C:\\\\" + p.strDefault.substr(3); }},
    {"a doubled backslash between names", EPage::Install, [](const SPlaces& p) { return p.strParent + "\\\\Zanto"; }},
    {"another drive with room", EPage::Install,
     [](const SPlaces& p) { return p.strBig + ":\\zanto typed " + p.strUnique + "\\Zanto"; }, "ZANTO_BIG_DRIVE"},
};

// Product folder names of the configuration; each makes the preset install folder (the program
// files folder joined with it) and the preset start menu folder invalid.
const char* const s_apszProducts[] = {"..\\Zanto", ".", "..", "Zanto\\..\\..\\Zanto", "NUL", "com1.txt", "Zanto.", "Za|nto"};

constexpr unsigned kTypedFolders = sizeof(s_aTypedFolders) / sizeof(s_aTypedFolders[0]);
constexpr unsigned kProducts = sizeof(s_apszProducts) / sizeof(s_apszProducts[0]);

const char* const kSixBlanks = "      ";

std::string IniName(bool bEnglish)
{
    return bEnglish ? "setup_en.ini" : "setup_ger.ini";
}

// The megabytes that the medium's configuration announces, as the page shows them.
int NeededMegabytes(const std::string& strIni)
{
    unsigned long long nBytes = 0;
    std::size_t nPos = strIni.find('\n');
    for (int nLine = 0; nLine < 2 && nPos != std::string::npos; ++nLine)
    {
        const std::size_t nColon = strIni.find(':', nPos);
        nBytes += std::strtoull(strIni.c_str() + nColon + 1, nullptr, 10);
        nPos = strIni.find('\n', nPos + 1);
    }
    return static_cast<int>(nBytes >> 20);
}

// A figure as the page prints it ("%6.d": six blanks for 0).
std::string Figure(unsigned long long nValue)
{
    char szFigure[32];
    std::snprintf(szFigure, sizeof(szFigure), "%6.d", static_cast<int>(nValue));
    return szFigure;
}

std::string SpaceInfo(bool bEnglish, int nNeeded, const std::string& strFree)
{
    return bEnglish ? "Free space needed:\t" + Figure(nNeeded) + " MB\nFree diskspace:\t\t" + strFree + " MB"
                    : "Ben\xF6tigter Speicherplatz:\t" + Figure(nNeeded) + " MB\nFreier Speicherplatz\t" + strFree + " MB";
}

// The free figure the page must show for a folder on a test drive; empty for drive C:, whose
// free space other programs change meanwhile.
std::string ExpectedFreeFigure(EPage ePage, const std::string& strTyped)
{
    if (ePage == EPage::Refused)
        return kSixBlanks;
    if (strTyped.compare(0, 1, "C") == 0 || strTyped.compare(0, 1, "c") == 0)
        return std::string();
    ULARGE_INTEGER nFree = {}, nTotal = {}, nTotalFree = {};
    GetDiskFreeSpaceExA(strTyped.substr(0, 2).append("\\").c_str(), &nFree, &nTotal, &nTotalFree);
    return Figure(nFree.QuadPart >> 20);
}

void SetOutcome(SCaseResult& result, const std::string& strOutcome)
{
    result.strOutcome = result.strOutcome.empty() ? strOutcome : result.strOutcome + " then " + strOutcome;
}

// Whether the program still runs as it should; a crash or hang is counted by the run.
bool Alive(CCaseRun& run)
{
    return run.Drive([] { return true; }, 1000);
}

// The folder page against the rules for the folder it holds now. A page that goes against them
// is a fault of the case: its walk cannot go on as planned.
void CheckFolderPage(CCaseRun& run, int nNeeded, EPage ePage, const std::string& strTyped)
{
    const CWindowDriver& main = run.Main();
    Settle(main);
    const std::string strSpaceInfo = main.GetText(IDC_SPACE_INFO);
    const bool bNext = main.IsEnabled(IDC_NEXT);
    const std::string strFree = ExpectedFreeFigure(ePage, strTyped);
    const std::string strShownFree = strSpaceInfo.substr(strSpaceInfo.rfind('\t') + 1, 6);
    const std::string strWant = SpaceInfo(run.English(), nNeeded, strFree.empty() ? strShownFree : strFree);
    std::string strWrong;
    if (bNext != (ePage == EPage::Install))
        strWrong = bNext ? "Next enabled" : "Next disabled";
    if (strSpaceInfo != strWant || (strFree.empty() && strShownFree == kSixBlanks))
        strWrong += (strWrong.empty() ? "" : ", ") + std::string("the space text reads \"") + strSpaceInfo + "\"";
    if (!strWrong.empty())
        run.Count(kHarness, "folder page for \"" + strTyped + "\": " + strWrong);
}

// From the folder page, with Next enabled, on to the start menu page.
bool NextToMenuPage(CCaseRun& run)
{
    const CWindowDriver& main = run.Main();
    main.Click(IDC_NEXT);
    if (run.Drive([&] { return main.IsVisible(IDC_MENU_FOLDER); }, 60000))
        return true;
    if (!run.Broken())
        run.Count(kHarness, "the wizard did not reach the start menu page");
    return false;
}

// Installs with the start menu page's folder, checks the installation and removes it again.
void InstallAndRemove(CCaseRun& run, SCaseResult& result)
{
    SCancelPlan none;
    const EInstallOutcome eInstall = run.Install(none);
    SetOutcome(result, OutcomeName(eInstall));
    if (eInstall == EInstallOutcome::Broken)
        return;
    if (eInstall != EInstallOutcome::Success)
    {
        run.CheckNotInstalled("after the failure");
        return;
    }
    run.CheckInstalled();
    run.CheckSurroundings("installed");
    if (run.Deinstall())
    {
        SetOutcome(result, "removed");
        run.CheckNotInstalled("after Deinstall");
    }
    else if (!run.Broken())
        run.Count(kRecord, "Deinstall of an untouched installation stopped");
}

void CancelOnPage(CCaseRun& run, SCaseResult& result, const char* pszOutcome)
{
    SetOutcome(result, pszOutcome);
    if (run.CancelOnPage(IDYES))
        run.CheckNotInstalled("after the cancel");
}

void Finish(CCaseRun& run)
{
    if (!run.Broken())
        run.Quit();
    run.CheckNotInstalled("at the end");
    run.CheckSurroundings("at the end");
}

const char* PageOutcome(EPage ePage)
{
    return ePage == EPage::Refused ? "refused on the folder page" : "no room";
}

void RunTyped(CCaseRun& run, SCaseResult& result, const STypedFolder& folder, const SPlaces& places)
{
    const std::string strTyped = folder.pfnTyped(places);
    const int nNeeded = NeededMegabytes(ReadFileBytes(run.Session().MediumFile(IniName(run.English()).c_str())));
    // The run's own checks know the folder where an installation goes; a refused one keeps the
    // case's default there, so that whatever it wrote all the same counts as outside.
    if (folder.ePage == EPage::Install)
        run.SetInstallDir(strTyped);
    if (!places.strBig.empty())
        run.AddWatchedTree(places.strBig + ":\\");
    if (!places.strSmall.empty())
        run.AddWatchedTree(places.strSmall + ":\\");
    run.ExpectDemoPayload(true);
    run.Snapshot();
    if (!run.Launch())
    {
        Finish(run);
        return;
    }
    const EInstallOutcome eWalk = run.WalkToMenuPage(3);
    if (eWalk != EInstallOutcome::Success)
    {
        if (eWalk == EInstallOutcome::NoRoom)
            run.Count(kHarness, "the preset folder had no room");
        Finish(run);
        return;
    }
    try
    {
        if (folder.ePage != EPage::Install)
            run.Main().SetText(IDC_INSTALL_DIR, strTyped);
        CheckFolderPage(run, nNeeded, folder.ePage, strTyped);
        if (!run.Main().IsEnabled(IDC_NEXT))
        {
            CancelOnPage(run, result, PageOutcome(folder.ePage));
            Finish(run);
            return;
        }
        // Passed, rightly or not: the installation shows what comes of it.
        if (folder.ePage != EPage::Install)
            SetOutcome(result, "passed the folder page");
        if (!NextToMenuPage(run))
        {
            Finish(run);
            return;
        }
        run.Main().SetText(IDC_MENU_FOLDER, run.MenuPath().substr(ProgramsFolder().size()));
        InstallAndRemove(run, result);
    }
    catch (const CDriverError& error)
    {
        if (Alive(run))
            run.Count(kHarness, std::string("driving: ") + error.what());
    }
    Finish(run);
}

void RunProduct(CCaseRun& run, SCaseResult& result, const char* pszProduct)
{
    const std::string strIni = run.Session().MediumFile(IniName(run.English()).c_str());
    const std::string strOriginal = ReadFileBytes(strIni);
    WriteTextFile(strIni, std::string("Folder:") + pszProduct + strOriginal.substr(strOriginal.find("\r\n")));
    const int nNeeded = NeededMegabytes(strOriginal);
    const std::string strMenuFolder = run.MenuPath().substr(ProgramsFolder().size());
    run.ExpectDemoPayload(true);
    run.Snapshot();
    if (!run.Launch())
    {
        Finish(run);
        return;
    }
    // The walk stops on the folder page when its preset folder is refused, before it types.
    const EInstallOutcome eWalk = run.WalkToMenuPage(3);
    if (eWalk == EInstallOutcome::Broken)
    {
        Finish(run);
        return;
    }
    try
    {
        const CWindowDriver& main = run.Main();
        const std::string strPreset = DefaultInstallFolder().substr(0, DefaultInstallFolder().size() - 5) + pszProduct;
        if (eWalk == EInstallOutcome::Success)
            run.Count(kHarness, "the preset folder \"" + strPreset + "\" was passed");
        else
        {
            if (main.GetText(IDC_INSTALL_DIR) != strPreset)
                run.Note("the folder page shows \"" + main.GetText(IDC_INSTALL_DIR) + "\" for \"" + strPreset + "\"");
            CheckFolderPage(run, nNeeded, EPage::Refused, strPreset);
            SetOutcome(result, "preset folder refused");
        }
        // A good folder typed over it leads on to the start menu page, whose preset folder is
        // the product's as well.
        main.SetText(IDC_INSTALL_DIR, run.InstallDir());
        CheckFolderPage(run, nNeeded, EPage::Install, run.InstallDir());
        if (!main.IsEnabled(IDC_NEXT) || !NextToMenuPage(run))
        {
            Finish(run);
            return;
        }
        Settle(main);
        if (main.IsEnabled(IDC_NEXT))
            run.Count(kHarness, "Install enabled for the start menu folder \"" + main.GetText(IDC_MENU_FOLDER) + "\"");
        else
            SetOutcome(result, "preset menu folder refused");
        main.SetText(IDC_MENU_FOLDER, strMenuFolder);
        Settle(main);
        if (!main.IsEnabled(IDC_NEXT))
        {
            run.Count(kHarness, "Install disabled for the start menu folder \"" + strMenuFolder + "\"");
            CancelOnPage(run, result, OutcomeName(EInstallOutcome::Refused));
            Finish(run);
            return;
        }
        InstallAndRemove(run, result);
    }
    catch (const CDriverError& error)
    {
        if (Alive(run))
            run.Count(kHarness, std::string("driving: ") + error.what());
    }
    Finish(run);
}

std::string EnvironmentDrive(const char* pszVariable)
{
    const char* pszDrive = std::getenv(pszVariable);
    return pszDrive == nullptr ? std::string() : std::string(pszDrive);
}
}

unsigned TypedFolderCaseCount()
{
    return 2 * (kTypedFolders + kProducts);
}

void RunTypedFolderCase(SCaseResult& result, const SCampaignOptions& options)
{
    const unsigned nCase = result.nIndex % (kTypedFolders + kProducts);
    const bool bEnglish = (result.nIndex / (kTypedFolders + kProducts)) % 2 == 0;
    const std::string strLanguage = bEnglish ? " (English)" : " (German)";
    SPlaces places;
    places.strBig = EnvironmentDrive("ZANTO_BIG_DRIVE");
    places.strSmall = EnvironmentDrive("ZANTO_SMALL_DRIVE");
    if (nCase >= kTypedFolders)
    {
        result.strWhat = std::string("product folder \"") + s_apszProducts[nCase - kTypedFolders] + "\"" + strLanguage;
        CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
        RunProduct(run, result, s_apszProducts[nCase - kTypedFolders]);
        return;
    }
    const STypedFolder& folder = s_aTypedFolders[nCase];
    result.strWhat = std::string("typed install folder: ") + folder.pszWhat + strLanguage;
    if (folder.pszDriveVariable != nullptr && std::getenv(folder.pszDriveVariable) == nullptr)
    {
        result.strOutcome = "skipped";
        result.strWhat += ": no test drive";
        return;
    }
    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    places.strDefault = run.InstallDir();
    places.strParent = places.strDefault.substr(0, places.strDefault.find_last_of('\\'));
    places.strUnique = run.Sandbox().substr(run.Sandbox().find_last_of('\\') + 1);
    result.strWhat += ": \"" + folder.pfnTyped(places) + "\"";
    RunTyped(run, result, folder, places);
}
