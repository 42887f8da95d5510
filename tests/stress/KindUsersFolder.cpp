#include "Kinds.h"

#include <memory>

#include "InstallRun.h"
#include "KindSteps.h"
#include "ScopedHandle.h"
#include "SetupSession.h"
#include "UsersFiles.h"

namespace
{

// Cancels at one of the first files, then fails each step once, then succeeds, removed by the
// setup program's Deinstall and by uninstall.exe.
const char* const s_apszEnds[] = {"language step fails", "cabinet step fails", "start menu step fails",
                                  "record step fails",   "installs",           "installs, uninstall.exe removes"};
constexpr unsigned kEnds = sizeof(s_apszEnds) / sizeof(s_apszEnds[0]);
constexpr unsigned kCancelCases = 27;
}

// A folder of the user's with files of the installation's names: a cancel at any file and a
// failure of any step leave every one of them as it was; after success they make way for good.
void RunUsersFolderCase(SCaseResult& result, const SCampaignOptions& options)
{
    const unsigned nVariant = result.nIndex % (kCancelCases + kEnds);
    const bool bEnglish = (result.nIndex / 2) % 2 == 0;
    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    const std::vector<std::string> names = MakeUsersFiles(run);
    run.ExpectDemoPayload(false);
    std::size_t nLanguageFiles = 0;
    SCancelPlan plan;
    plan.order = InstallOrder(run, nLanguageFiles);
    CScopedHandle hLocked;
    std::unique_ptr<CLockedRecord> pLockedRecord;
    if (nVariant < kCancelCases)
    {
        plan.nTarget = nVariant % plan.order.size();
        plan.eWhen = plan.nTarget == 0 ? SCancelPlan::EWhen::Queued : SCancelPlan::EWhen::AtStatus;
        result.strWhat = "folder of the user's, cancel at install file " + std::to_string(plan.nTarget + 1) + " of " +
                         std::to_string(plan.order.size());
    }
    else
    {
        const unsigned nEnd = nVariant - kCancelCases;
        result.strWhat = std::string("folder of the user's, ") + s_apszEnds[nEnd];
        if (nEnd == 1)
            WriteTextFile(run.Session().MediumFile("data.cab"), "MSCF? no.");
        else if (nEnd == 2)
            WriteTextFile(run.MenuPath(), "a file where the start menu folder would be\r\n");
        else if (nEnd >= 4)
            // Installed files take the places of the user's for good, and their removal goes with them.
            for (const std::string& strName : names)
                run.AddOwnPath(run.InstallDir() + "\\" + strName);
    }
    result.strWhat += bEnglish ? " (English)" : " (German)";
    run.Snapshot();
    // A language file that cannot be read, and a record that cannot be written, while the case runs.
    if (nVariant == kCancelCases)
    {
        const std::string strTree = run.Medium() + (bEnglish ? "\\en" : "\\ger");
        hLocked.Reset(CreateFileA((strTree + "\\" + FilesBelow(strTree).front()).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    }
    if (nVariant == kCancelCases + 3)
        pLockedRecord = std::make_unique<CLockedRecord>();
    if (run.Launch())
        InstallAndRemove(run, result, &plan, nVariant == kCancelCases + 5);
    hLocked.Reset();
    pLockedRecord.reset();
    Finish(run);
    if (nVariant == kCancelCases + 2)
        DeleteFileA(run.MenuPath().c_str());
}
