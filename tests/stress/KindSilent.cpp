// The silent variants of three kinds: damaged cabinets, full and filling drives, and read-only
// files at the removal, through ZantoSetup.exe /VERYSILENT and uninstall.exe /SILENT as a
// deployment tool starts them. Every check of the wizard's cases holds for them too.
#include "Kinds.h"

#include "KindSteps.h"

#include <map>

#include "CabinetMutator.h"
#include "DriveFill.h"
#include "InstallRun.h"
#include "Random.h"
#include "SetupSession.h"
#include "Snapshot.h"

namespace
{
// The removal of a successful silent installation by uninstall.exe /SILENT; a run stopped by a
// file is tried again once its attributes are cleared, as a deployment tool's next attempt.
void RemoveSilently(CCaseRun& run)
{
    run.CheckInstalled();
    run.CheckSurroundings("installed");
    if (run.UninstallSilently())
    {
        run.CheckNotInstalled("after uninstall.exe /SILENT");
        return;
    }
    run.Note("uninstall.exe /SILENT ended with 4; attributes cleared and tried again");
    ClearReadOnly(run.InstallDir());
    ClearReadOnly(run.MenuPath());
    if (run.UninstallSilently())
        run.CheckNotInstalled("after the second uninstall.exe /SILENT");
    else
        run.Note("the second uninstall.exe /SILENT stopped too");
}

// Installs silently and checks what the exit code says against the disk.
void InstallAndRemoveSilently(CCaseRun& run, SCaseResult& result, bool bRefusalExpected)
{
    const EInstallOutcome eInstall = run.InstallSilently();
    SetOutcome(result, OutcomeName(eInstall));
    if (eInstall == EInstallOutcome::Success)
        RemoveSilently(run);
    else if (eInstall == EInstallOutcome::Refused && !bRefusalExpected)
        run.Count(kCrash, "ended with 1 (could not start) where the installation could begin");
    if (eInstall == EInstallOutcome::Failed || eInstall == EInstallOutcome::Refused)
        run.CheckNotInstalled(eInstall == EInstallOutcome::Failed ? "after the failure" : "after the refusal");
}

void FinishSilently(CCaseRun& run)
{
    run.CheckNotInstalled("at the end");
    run.CheckSurroundings("at the end");
}
}

void RunSilentCabinetCase(SCaseResult& result, const SCampaignOptions& options)
{
    CRandom random(result.nSeed);
    const SMutatedCabinet mutated = MutateCabinet(ReadFileBytes(MediumSource("data.cab")), random, WindowsFolder());
    const bool bEnglish = random.Chance(50);
    result.strWhat = "gcab data.cab; " + mutated.strWhat + (bEnglish ? " (English)" : " (German)");

    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    WriteTextFile(run.Session().MediumFile("data.cab"), mutated.strBytes);
    ExpectPlainMembers(run, mutated.strBytes);
    run.Snapshot();
    InstallAndRemoveSilently(run, result, false);
    FinishSilently(run);
    for (const std::string& strEscape : {std::string("Z:\\tmp\\") + mutated.strMarker, std::string("Z:\\") + mutated.strMarker})
        if (LongPathExists(strEscape))
        {
            run.Count(kOutside, "escaped to " + strEscape);
            RemoveLongPath(strEscape);
        }
}

void RunSilentDiskCase(SCaseResult& result, const SCampaignOptions& options)
{
    if (options.strDrive.empty())
    {
        result.strWhat = "no test drive";
        result.strOutcome = "skipped";
        return;
    }
    const std::string strRoot = options.strDrive + ":\\";
    const bool bEnglish = result.nIndex % 2 == 0;
    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    run.SetInstallDir(strRoot + "Zanto");
    run.AddWatchedTree(strRoot);
    CDriveFill fill(strRoot);
    const std::string strLanguage = bEnglish ? " (English)" : " (German)";
    // Case 0 and 1: a drive without a byte free, which the run must refuse before it writes;
    // from 2 on, small announced sizes and a drive that fills at another file each time.
    const bool bFull = result.nIndex < 2;
    if (bFull)
    {
        fill.Fill("\\filler.bin", 0);
        result.strWhat = "full drive" + strLanguage;
    }
    else
    {
        AnnounceSmallSizes(run);
        const std::uint64_t nHave = fill.Fill("\\filler.bin", (1024u + 288u * (result.nIndex - 2)) << 10);
        result.strWhat = std::to_string(nHave / 1024) + " KiB free" + strLanguage;
    }
    run.ExpectDemoPayload(true);
    run.Snapshot();
    InstallAndRemoveSilently(run, result, bFull);
    FinishSilently(run);
}

void RunSilentReadOnlyCase(SCaseResult& result, const SCampaignOptions& options)
{
    struct SReadOnly
    {
        const char* pszWhat;
        const char* pszFile; // below the install folder; nullptr for a shortcut
    };
    static const SReadOnly s_aReadOnly[] = {
        {"one installed file", "data\\maps\\caves.map"},
        {"uninstall.dat", "uninstall.dat"},
        {"uninstall.exe", "uninstall.exe"},
        {"one shortcut", nullptr},
    };
    const SReadOnly& readOnly = s_aReadOnly[result.nIndex % 4];
    const bool bEnglish = result.nIndex / 4 % 2 == 0;
    result.strWhat = std::string(readOnly.pszWhat) + " read-only at uninstall.exe /SILENT" + (bEnglish ? " (English)" : " (German)");
    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    run.ExpectDemoPayload(true);
    run.Snapshot();
    const EInstallOutcome eInstall = run.InstallSilently();
    SetOutcome(result, OutcomeName(eInstall));
    if (eInstall != EInstallOutcome::Success)
    {
        if (eInstall != EInstallOutcome::Broken)
            run.Count(kRecord, "the demo medium's /VERYSILENT installation did not succeed");
        FinishSilently(run);
        return;
    }
    const std::string strFile = readOnly.pszFile != nullptr
                                    ? run.InstallDir() + "\\" + readOnly.pszFile
                                    : run.MenuPath() + (bEnglish ? "\\Play Zanto.lnk" : "\\Zanto spielen.lnk");
    SetFileAttributesA(strFile.c_str(), FILE_ATTRIBUTE_READONLY);
    RemoveSilently(run);
    FinishSilently(run);
}
