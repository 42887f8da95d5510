#include "Kinds.h"

#include "InstallRun.h"
#include "KindSteps.h"
#include "SetupSession.h"
#include "UsersFiles.h"

namespace
{
// Where the program is ended: at a file of the language tree or of the cabinet, or as the last
// step shows its status texts (before the shortcuts, before the record).
enum class EWhere
{
    FirstLanguageFile,
    LastLanguageFile,
    FirstCabinetFile,
    MiddleCabinetFile,
    LastCabinetFile,
    BeforeShortcuts,
    BeforeRecord,
};
const char* const s_apszWhere[] = {"the first language file", "the last language file", "the first cabinet file",
                                   "a cabinet file in the middle", "the last cabinet file", "the start of the shortcuts",
                                   "the start of the record"};

// What the next run into the same folder does, whether the folder held files of the user's, and
// whether uninstall.exe removes what it installed.
struct SNext
{
    const char* pszWhat;
    bool bUsersFiles;
    bool bUninstallProgram;
};
const SNext s_aNext[] = {
    {"cancelled", false, false}, {"cancelled", true, false}, {"fails", false, false},
    {"fails", true, false},      {"installs", false, false}, {"installs, uninstall.exe removes", true, true},
};
}

// The program ended in the middle of a run (a crash, Task Manager): the next run into the same
// folder takes over what the ended one wrote, and the disk ends as it was before the first.
void RunEndedCase(SCaseResult& result, const SCampaignOptions& options)
{
    const unsigned nWheres = sizeof(s_apszWhere) / sizeof(s_apszWhere[0]);
    const EWhere eWhere = static_cast<EWhere>(result.nIndex % nWheres);
    const SNext& next = s_aNext[(result.nIndex / nWheres) % (sizeof(s_aNext) / sizeof(s_aNext[0]))];
    const bool bEnglish = result.nIndex % 2 == 0;
    result.strWhat = std::string("ended at ") + s_apszWhere[static_cast<int>(eWhere)] + ", then the next run " +
                     next.pszWhat + (next.bUsersFiles ? ", folder of the user's" : ", new folder") +
                     (bEnglish ? " (English)" : " (German)");
    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    if (next.bUsersFiles)
    {
        const std::vector<std::string> names = MakeUsersFiles(run);
        // An installation that completes takes the places of the user's files for good.
        if (std::string(next.pszWhat).compare(0, 8, "installs") == 0)
            for (const std::string& strName : names)
                run.AddOwnPath(run.InstallDir() + "\\" + strName);
    }
    run.ExpectDemoPayload(!next.bUsersFiles);
    run.AddOwnPath(run.Session().MediumFile("data.cab"));
    std::size_t nLanguageFiles = 0;
    SCancelPlan plan;
    plan.order = InstallOrder(run, nLanguageFiles);
    plan.order.push_back(bEnglish ? "Creating startmenu entries ..." : "Erstelle Startmen\xFC-Eintr\xE4ge ...");
    plan.order.push_back(bEnglish ? "Creating registry entries ..." : "Erstelle Registry-Eintr\xE4ge ...");
    const std::size_t nCabinetFiles = plan.order.size() - 2 - nLanguageFiles;
    const std::size_t anTargets[] = {0,
                                     nLanguageFiles - 1,
                                     nLanguageFiles,
                                     nLanguageFiles + nCabinetFiles / 2,
                                     nLanguageFiles + nCabinetFiles - 1,
                                     plan.order.size() - 2,
                                     plan.order.size() - 1};
    plan.nTarget = anTargets[static_cast<int>(eWhere)];
    plan.eWhen = SCancelPlan::EWhen::AtStatus;
    plan.bKill = true;
    run.Snapshot();
    if (!run.Launch())
    {
        Finish(run);
        return;
    }
    if (run.WalkToMenuPage() != EInstallOutcome::Success)
    {
        Finish(run);
        return;
    }
    const EInstallOutcome eFirst = run.Install(plan);
    SetOutcome(result, OutcomeName(eFirst));
    if (eFirst != EInstallOutcome::Ended)
    {
        if (eFirst != EInstallOutcome::Broken)
            run.Count(kBehaviour, "the program was not ended where planned");
        if (eFirst == EInstallOutcome::Success)
            RemoveInstallation(run);
        Finish(run);
        return;
    }
    if (std::string(next.pszWhat) == "fails")
        WriteTextFile(run.Session().MediumFile("data.cab"), "MSCF? no.");
    if (!run.Launch())
    {
        Finish(run);
        return;
    }
    SCancelPlan cancel;
    if (std::string(next.pszWhat) == "cancelled")
        cancel.eWhen = SCancelPlan::EWhen::Queued;
    InstallAndRemove(run, result, &cancel, next.bUninstallProgram);
    Finish(run);
}
