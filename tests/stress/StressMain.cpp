// stress_campaign: runs seeded cases of damaged media, odd folders, full disks, read-only files
// and cancels through the real ZantoSetup.exe and counts crashes, hangs, writes outside the
// installation, changed files and disagreements between the uninstall record and the disk.
//
//   stress_campaign [--seed N] [--cabinets N] [--configs N] [--count KIND=N] [--only KIND[:I]]
//                   [--slice] [--drive X] [--case-limit SECONDS] [--report FILE] [--list]
//
// ZANTO_EXE, ZANTO_MEDIUM and ZANTO_PAYLOAD are those of the end-to-end tests.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "CaseRun.h"
#include "DriverError.h"
#include "Kinds.h"
#include "Polling.h"
#include "Random.h"
#include "ScopedHandle.h"
#include "ProcessUnderTest.h"
#include "SetupSession.h"
#include "Snapshot.h"
#include "TestDrives.h"
#include "WindowFinder.h"

namespace
{
struct SKindPlan
{
    const SKind* pKind;
    std::vector<unsigned> indices;
};

struct SKindTotals
{
    unsigned nCases = 0;
    int anCounts[kCountKinds] = {};
    std::map<std::string, unsigned> outcomes;
    double dSeconds = 0;
};

std::string Hex(std::uint64_t n)
{
    char sz[32];
    std::snprintf(sz, sizeof(sz), "%016llx", static_cast<unsigned long long>(n));
    return sz;
}

std::string OwnFolder()
{
    char szPath[MAX_PATH];
    const DWORD nLength = GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strPath(szPath, nLength);
    return strPath.substr(0, strPath.find_last_of('\\'));
}

// The detectors must see what they are there for before their zeros mean anything.
bool SelfCheck(std::string& strReport)
{
    const std::string strProbe = OwnFolder() + "\\stress_probe.exe";
    bool bAll = true;
    const auto line = [&](const char* pszWhat, bool bOk) {
        strReport += std::string("  self-check ") + pszWhat + ": " + (bOk ? "noticed" : "NOT NOTICED") + "\n";
        bAll = bAll && bOk;
    };
    try
    {
        {
            // Its output, and that of the debugger Wine starts for it, goes nowhere: the log
            // would fill with the debugger's dump of a crash that is meant to happen.
            SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
            const CScopedHandle hNull(CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                  &inherit, OPEN_EXISTING, 0, nullptr));
            STARTUPINFOA si = {};
            si.cb = sizeof(si);
            si.dwFlags = STARTF_USESTDHANDLES;
            si.hStdInput = si.hStdOutput = si.hStdError = hNull.Get();
            PROCESS_INFORMATION pi = {};
            std::string strCommand = "\"" + strProbe + "\" crash";
            if (!CreateProcessA(strProbe.c_str(), &strCommand[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
                throw CDriverError("cannot start " + strProbe);
            const CScopedHandle hProcess(pi.hProcess);
            const CScopedHandle hThread(pi.hThread);
            HWND hCrash = nullptr;
            DWORD dwCode = STILL_ACTIVE;
            WaitUntil(
                [&] {
                    GetExitCodeProcess(hProcess.Get(), &dwCode);
                    return (hCrash = FindCrashDialog()) != nullptr || dwCode != STILL_ACTIVE;
                },
                30000);
            const bool bNoticed = hCrash != nullptr || (dwCode != STILL_ACTIVE && dwCode != 0);
            if (hCrash != nullptr)
                DismissCrashDialog(hCrash);
            TerminateProcess(hProcess.Get(), 0xDEAD);
            WaitForSingleObject(hProcess.Get(), 5000);
            line(hCrash != nullptr ? "crash (Wine crash dialog)" : "crash (exit code)", bNoticed);
        }
        {
            CProcessUnderTest probe;
            probe.Start(strProbe, OwnFolder(), "hang");
            const HWND hWnd = WaitForWindowTitle(probe.GetPid(), "Stress probe", 20000);
            DWORD_PTR dwResult = 0;
            const bool bNoticed =
                hWnd != nullptr && !SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &dwResult);
            probe.Terminate();
            line("hang (no answer to SendMessageTimeout)", bNoticed);
        }
        {
            CProcessUnderTest probe;
            probe.Start(strProbe, OwnFolder(), "exit3");
            line("exit code 3", probe.WaitForExit(20000) && probe.GetExitCode() == 3);
        }
        {
            const std::string strFolder = TempFolder() + "\\zanto-stress-selfcheck";
            RemoveLongPath(strFolder);
            CreateDirectoryA(strFolder.c_str(), nullptr);
            WriteTextFile(strFolder + "\\same.txt", "same");
            WriteTextFile(strFolder + "\\changed.txt", "before");
            WriteTextFile(strFolder + "\\removed.txt", "gone soon");
            CSnapshot before;
            before.AddTree(strFolder, true);
            WriteTextFile(strFolder + "\\changed.txt", "after!");
            DeleteFileA((strFolder + "\\removed.txt").c_str());
            WriteTextFile(strFolder + "\\added.txt", "new");
            CSnapshot after;
            after.AddTree(strFolder, true);
            const SSnapDiff diff = CompareSnapshots(before, after);
            line("snapshot (one added, one changed, one removed)",
                 diff.added.size() == 1 && diff.changed.size() == 1 && diff.removed.size() == 1);

            // A deliberately broken case: the probe writes over a file of the user's, keeping its
            // size and time, and puts nothing back.
            CSnapshot users;
            users.AddTree(strFolder, true);
            CProcessUnderTest probe;
            probe.Start(strProbe, OwnFolder(), "overwrite " + strFolder + "\\same.txt");
            const bool bEnded = probe.WaitForExit(20000);
            CSnapshot overwritten;
            overwritten.AddTree(strFolder, true);
            const SSnapDiff overwrite = CompareSnapshots(users, overwritten);
            line("a file of the user's overwritten and not put back, size and time kept",
                 bEnded && overwrite.changed.size() == 1 && overwrite.added.empty() && overwrite.removed.empty());
            RemoveLongPath(strFolder);
        }
    }
    catch (const CDriverError& error)
    {
        strReport += std::string("  self-check failed: ") + error.what() + "\n";
        return false;
    }
    return bAll;
}

// A wrong program for each kind: the fault put into it, the cases that meet it, and the count it
// must show up in. Kinds not named here meet a program that writes a file into its medium.
struct SKindFault
{
    const char* pszKind;
    EStressFault eFault;
    std::vector<unsigned> indices;
    ECount eCount;
    const char* pszWhat;
};

const SKindFault s_aKindFaults[] = {
    // A full drive shown on the folder page on the second pass (English).
    {"disk-full", kFaultEnableNext, {2}, kBehaviour, "leads on from the folder page of a full drive"},
    {"ended", kFaultNoKill, {3, 16}, kBehaviour, "is not ended where the case ends it"},
    // "a dot component": the case's own folder with "\.\" in it.
    {"typed-folder", kFaultEnableNext, {8}, kBehaviour, "leads on from an unusable folder"},
};

// Each kind that the campaign runs is shown once to count a program that behaves wrongly: a kind
// that never counts is no proof of the program.
bool SelfCheckKinds(const std::vector<SKindPlan>& plans, const SCampaignOptions& options, std::string& strReport)
{
    bool bAll = true;
    for (const SKindPlan& plan : plans)
    {
        const SKind& kind = *plan.pKind;
        SKindFault fault{kind.pszName, kFaultStrayFile, kind.slice, kOutside, "writes a file into its medium"};
        for (const SKindFault& special : s_aKindFaults)
            if (std::string(special.pszKind) == kind.pszName)
                fault = special;
        if (fault.indices.empty())
            fault.indices.push_back(0);
        std::string strLine = "not counted";
        bool bCounted = false;
        for (const unsigned nIndex : fault.indices)
        {
            SCaseResult result;
            result.strKind = kind.pszName;
            result.nIndex = nIndex;
            result.nSeed = CaseSeed(options.nSeed, result.strKind, nIndex);
            SetSelfCheckFault(fault.eFault);
            try
            {
                kind.fnRun(result, options);
            }
            catch (const std::exception& error)
            {
                result.notes.push_back(std::string("harness: ") + error.what());
            }
            SetSelfCheckFault(kFaultNone);
            if (result.strOutcome == "skipped")
            {
                strLine = "skipped: " + result.strWhat;
                bCounted = true;
                break;
            }
            if (result.anCounts[fault.eCount] != 0)
            {
                strLine = std::string("counted as ") + CountName(fault.eCount) + " (#" + std::to_string(nIndex) + ")";
                bCounted = true;
                break;
            }
            strLine = std::string("NOT COUNTED as ") + CountName(fault.eCount) + " (#" + std::to_string(nIndex) + ": " +
                      result.strWhat + " -> " + result.strOutcome + ")";
        }
        strReport += std::string("  self-check ") + kind.pszName + ", a program that " + fault.pszWhat + ": " +
                     strLine + "\n";
        bAll = bAll && bCounted;
    }
    return bAll;
}

void Usage()
{
    std::printf("usage: stress_campaign [--seed N] [--cabinets N] [--configs N] [--count KIND=N]\n"
                "                       [--only KIND[:INDEX]] [--slice] [--drive LETTER]\n"
                "                       [--case-limit SECONDS] [--report FILE] [--list]\n");
}

std::string CellCount(int n)
{
    return std::to_string(n);
}

// The campaign must never wait on a crash dialog of its own: it says where it failed and ends.
LONG WINAPI ReportOwnCrash(EXCEPTION_POINTERS* pException)
{
    std::fprintf(stderr, "stress_campaign: exception 0x%08lX at %p; the campaign ends\n",
                 static_cast<unsigned long>(pException->ExceptionRecord->ExceptionCode),
                 pException->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
}

int main(int argc, char** argv)
{
    SetUnhandledExceptionFilter(ReportOwnCrash);
    SCampaignOptions options;
    std::map<std::string, unsigned> counts;
    for (const SKind& kind : CampaignKinds())
        counts[kind.pszName] = kind.nFullCount;
    bool bSlice = false;
    std::string strOnly;
    std::string strReport;
    std::string strCommand = "stress_campaign";
    if (const char* pszDrive = std::getenv("ZANTO_STRESS_DRIVE"))
        options.strDrive = pszDrive;
    else if (const char* pszSmall = std::getenv("ZANTO_SMALL_DRIVE"))
        options.strDrive = pszSmall;

    for (int i = 1; i < argc; ++i)
    {
        const std::string strArg = argv[i];
        // The report's own path says nothing about the cases.
        const bool bShown = strArg != "--report";
        if (bShown)
            strCommand += " " + strArg;
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc)
            {
                Usage();
                std::exit(2);
            }
            if (bShown)
                strCommand += std::string(" ") + argv[i + 1];
            return argv[++i];
        };
        if (strArg == "--seed")
            options.nSeed = std::strtoull(value().c_str(), nullptr, 0);
        else if (strArg == "--cabinets")
        {
            const unsigned n = static_cast<unsigned>(std::strtoul(value().c_str(), nullptr, 0));
            counts["cab-gcab"] = n - n / 2;
            counts["cab-writer"] = n / 2;
        }
        else if (strArg == "--configs")
        {
            const unsigned n = static_cast<unsigned>(std::strtoul(value().c_str(), nullptr, 0));
            counts["config-ini"] = n - n / 2;
            counts["config-licence"] = n / 2;
        }
        else if (strArg == "--count")
        {
            const std::string strPair = value();
            const std::size_t nEquals = strPair.find('=');
            if (nEquals == std::string::npos || counts.find(strPair.substr(0, nEquals)) == counts.end())
            {
                std::fprintf(stderr, "unknown kind in --count %s\n", strPair.c_str());
                return 2;
            }
            counts[strPair.substr(0, nEquals)] = static_cast<unsigned>(std::strtoul(strPair.c_str() + nEquals + 1, nullptr, 0));
        }
        else if (strArg == "--only")
            strOnly = value();
        else if (strArg == "--slice")
            bSlice = true;
        else if (strArg == "--drive")
            options.strDrive = value();
        else if (strArg == "--case-limit")
            options.dwCaseLimitMs = static_cast<DWORD>(std::strtoul(value().c_str(), nullptr, 0)) * 1000;
        else if (strArg == "--report")
            strReport = value();
        else if (strArg == "--list")
        {
            for (const SKind& kind : CampaignKinds())
                std::printf("%-16s %4u  %s\n", kind.pszName, kind.nFullCount, kind.pszTitle);
            return 0;
        }
        else
        {
            Usage();
            return 2;
        }
    }

    std::vector<SKindPlan> plans;
    for (const SKind& kind : CampaignKinds())
    {
        SKindPlan plan{&kind, {}};
        if (!strOnly.empty())
        {
            const std::size_t nColon = strOnly.find(':');
            if (strOnly.substr(0, nColon) != kind.pszName)
                continue;
            if (nColon != std::string::npos)
                plan.indices.push_back(static_cast<unsigned>(std::strtoul(strOnly.c_str() + nColon + 1, nullptr, 0)));
            else
                for (unsigned n = 0; n < counts[kind.pszName]; ++n)
                    plan.indices.push_back(n);
        }
        else if (bSlice)
            plan.indices = kind.slice;
        else
            for (unsigned n = 0; n < counts[kind.pszName]; ++n)
                plan.indices.push_back(n);
        if (!plan.indices.empty())
            plans.push_back(plan);
    }
    if (plans.empty())
    {
        std::fprintf(stderr, "no cases chosen (see --list)\n");
        return 2;
    }

    // Where the drive can be mounted (CI=true), a missing one would turn the disk cases into skips.
    if (options.strDrive.empty() && TestDrivesRequired())
    {
        std::fprintf(stderr,
                     "harness: no test drive for the disk and typed-folder cases (ZANTO_STRESS_DRIVE and "
                     "ZANTO_SMALL_DRIVE are unset): run-campaign.sh and run-tests.sh mount one as tmpfs when they "
                     "may mount, so run them as root (in a container, one that allows mount); CI=true, where it "
                     "can be mounted\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::printf("stress campaign: seed %llu, test drive %s, case limit %lu s\n",
                static_cast<unsigned long long>(options.nSeed),
                options.strDrive.empty() ? "none (disk cases skipped)" : (options.strDrive + ":").c_str(),
                static_cast<unsigned long>(options.dwCaseLimitMs / 1000));
    const DWORD dwStart = GetTickCount();
    std::string strSelfCheck;
    bool bSelfCheck = SelfCheck(strSelfCheck);
    std::printf("%s", strSelfCheck.c_str());
    std::string strKindCheck;
    bSelfCheck = SelfCheckKinds(plans, options, strKindCheck) && bSelfCheck;
    std::printf("%s", strKindCheck.c_str());

    std::map<std::string, SKindTotals> totals;
    std::vector<SCaseResult> findings;
    unsigned nCases = 0;
    for (const SKindPlan& plan : plans)
    {
        for (const unsigned nIndex : plan.indices)
        {
            SCaseResult result;
            result.strKind = plan.pKind->pszName;
            result.nIndex = nIndex;
            result.nSeed = CaseSeed(options.nSeed, result.strKind, nIndex);
            const DWORD dwCaseStart = GetTickCount();
            try
            {
                plan.pKind->fnRun(result, options);
            }
            catch (const std::exception& error)
            {
                result.anCounts[kHarness] = 1;
                result.notes.push_back(std::string("harness: ") + error.what());
            }
            result.dSeconds = (GetTickCount() - dwCaseStart) / 1000.0;
            if (result.strOutcome == "skipped")
            {
                std::printf("[%s #%u] skipped: %s\n", result.strKind.c_str(), nIndex, result.strWhat.c_str());
                continue;
            }
            ++nCases;
            SKindTotals& total = totals[result.strKind];
            ++total.nCases;
            for (int n = 0; n < kCountKinds; ++n)
                total.anCounts[n] += result.anCounts[n];
            ++total.outcomes[result.strOutcome.empty() ? "no main window" : result.strOutcome];
            total.dSeconds += result.dSeconds;

            std::string strCounts;
            for (int n = 0; n < kCountKinds; ++n)
                if (result.anCounts[n] != 0)
                    strCounts += std::string(" ") + CountName(n);
            std::printf("[%s #%u seed %s] %s -> %s (%.1f s)%s\n", result.strKind.c_str(), nIndex,
                        Hex(result.nSeed).c_str(), result.strWhat.c_str(), result.strOutcome.c_str(), result.dSeconds,
                        strCounts.empty() ? "" : (" FAULT:" + strCounts).c_str());
            for (const std::string& strNote : result.notes)
                std::printf("    %s\n", strNote.c_str());
            if (!result.Clean())
                findings.push_back(result);
        }
    }
    const double dTotal = (GetTickCount() - dwStart) / 1000.0;

    std::ostringstream table;
    table << "| Case kind | Cases | Crashes | Hangs | Writes outside | Removed or changed | Record vs. disk | Left behind | "
             "Wrong behaviour | Harness | Outcomes | Time |\n";
    table << "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|---:|\n";
    SKindTotals sum;
    for (const SKindPlan& plan : plans)
    {
        const auto it = totals.find(plan.pKind->pszName);
        if (it == totals.end())
            continue;
        const SKindTotals& total = it->second;
        table << "| " << plan.pKind->pszTitle << " (`" << plan.pKind->pszName << "`) | " << total.nCases;
        for (int n = 0; n < kCountKinds; ++n)
        {
            table << " | " << CellCount(total.anCounts[n]);
            sum.anCounts[n] += total.anCounts[n];
        }
        table << " | ";
        bool bFirst = true;
        for (const auto& [strOutcome, nCount] : total.outcomes)
        {
            table << (bFirst ? "" : ", ") << nCount << " " << strOutcome;
            bFirst = false;
        }
        char szTime[32];
        std::snprintf(szTime, sizeof(szTime), "%.0f s", total.dSeconds);
        table << " | " << szTime << " |\n";
        sum.nCases += total.nCases;
    }
    table << "| **All** | **" << sum.nCases << "**";
    for (int n = 0; n < kCountKinds; ++n)
        table << " | **" << sum.anCounts[n] << "**";
    char szTotal[32];
    std::snprintf(szTotal, sizeof(szTotal), "%.0f s", dTotal);
    table << " | | **" << szTotal << "** |\n";

    std::printf("\n%s", table.str().c_str());
    std::printf("\n%u cases, %zu with a fault, self-check %s, %.0f s\n", nCases, findings.size(),
                bSelfCheck ? "passed" : "FAILED", dTotal);
    for (const SCaseResult& result : findings)
        std::printf("  fault: %s #%u (seed %s): %s\n", result.strKind.c_str(), result.nIndex, Hex(result.nSeed).c_str(),
                    result.strWhat.c_str());

    if (!strReport.empty())
    {
        std::ofstream report(strReport, std::ios::binary | std::ios::trunc);
        report << "Command: `" << strCommand << "`  \n";
        report << "Seed: " << options.nSeed << ", test drive: "
               << (options.strDrive.empty() ? std::string("none") : options.strDrive + ":") << ", self-check: "
               << (bSelfCheck ? "crash, hang, exit code and snapshot detectors all noticed their probe, and every "
                                "kind run counted a deliberately wrong program"
                              : "FAILED")
               << "  \n";
        report << "Cases: " << nCases << ", with a fault: " << findings.size() << ", total time: " << szTotal << "\n\n";
        report << table.str();
        if (!findings.empty())
        {
            report << "\nCases with a fault (run one again with `--seed " << options.nSeed << " --only KIND:INDEX`):\n\n";
            for (const SCaseResult& result : findings)
            {
                report << "- `" << result.strKind << ":" << result.nIndex << "` (case seed " << Hex(result.nSeed)
                       << "): " << result.strWhat << " -> " << result.strOutcome << "\n";
                for (const std::string& strNote : result.notes)
                    report << "  - " << strNote << "\n";
            }
        }
    }
    return findings.empty() && bSelfCheck ? 0 : 1;
}
