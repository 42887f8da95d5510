#include "Kinds.h"

#include "KindSteps.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "CabinetMutator.h"
#include "ConfigMutator.h"
#include "DriveFill.h"
#include "Folders.h"
#include "InstallRun.h"
#include "ScopedHandle.h"
#include "SetupSession.h"
#include "WizardPages.h"
#include "resource.h"

std::string MediumSource(const char* pszName)
{
    return HostPath("ZANTO_MEDIUM") + "\\" + pszName;
}

std::string IniName(bool bEnglish)
{
    return bEnglish ? "setup_en.ini" : "setup_ger.ini";
}

// A medium whose announced sizes are small: the installation starts whatever the drive has free.
void AnnounceSmallSizes(CCaseRun& run)
{
    WriteTextFile(run.Session().MediumFile(IniName(run.English()).c_str()),
                  "Folder:Zanto\r\nSize:1000\r\nLanguageSize:1000\r\n");
}

void ClearReadOnly(const std::string& strFolder)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW((LongPath(strFolder) + L"\\*").c_str(), &data);
    SetFileAttributesW(LongPath(strFolder).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::wstring> names;
    std::vector<bool> folders;
    do
    {
        const std::wstring strName = data.cFileName;
        if (strName == L"." || strName == L"..")
            continue;
        names.push_back(strName);
        folders.push_back((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                          !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT));
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        char szName[MAX_PATH * 2] = {};
        WideCharToMultiByte(CP_ACP, 0, names[i].c_str(), -1, szName, sizeof(szName), nullptr, nullptr);
        const std::string strPath = strFolder + "\\" + szName;
        SetFileAttributesW(LongPath(strPath).c_str(), FILE_ATTRIBUTE_NORMAL);
        if (folders[i])
            ClearReadOnly(strPath);
    }
}

// After a successful installation: the record against the disk, Deinstall, and the same again.
// A removal stopped by a file error is noted, the attributes are cleared as a user would, and
// Deinstall is tried once more.
void RemoveInstallation(CCaseRun& run, bool bUninstallProgram)
{
    run.CheckInstalled();
    run.CheckSurroundings("installed");
    const auto remove = [&] { return bUninstallProgram ? run.UninstallProgram() : run.Deinstall(); };
    const std::string strWay = bUninstallProgram ? "uninstall.exe" : "Deinstall";
    if (remove())
    {
        run.CheckNotInstalled(("after " + strWay).c_str());
        return;
    }
    if (run.Broken())
        return;
    // Nobody touched this installation: its own removal must finish. Stopped, it leaves the
    // record with an installation that is no longer whole.
    std::string strStop = strWay + " of an untouched installation stopped";
    for (const SBoxSeen& box : run.Boxes())
        if (box.eKind == EBox::FileError || box.eKind == EBox::Other)
            strStop += ": \"" + box.strText + "\"";
    run.Count(kRecord, strStop + "; the record stays with a half-removed installation");
    run.Note("attributes cleared as a user would, and " + strWay + " tried again");
    ClearReadOnly(run.InstallDir());
    ClearReadOnly(run.MenuPath());
    if (remove())
        run.CheckNotInstalled(("after the second " + strWay).c_str());
    else if (!run.Broken())
        run.Count(kBehaviour, "the second " + strWay + " stopped too, with the attributes cleared");
}

void SetOutcome(SCaseResult& result, const std::string& strOutcome)
{
    if (result.strOutcome.empty())
        result.strOutcome = strOutcome;
    else
        result.strOutcome += " then " + strOutcome;
}

void ExpectPlainMembers(CCaseRun& run, const std::string& strCabinet)
{
    // Of two members of one name, the last; the installation's own list replaces a member of its name.
    std::map<std::string, std::pair<std::string, std::uint32_t>> byName;
    for (const SCabMemberInfo& member : DeclaredMembers(strCabinet))
        if (IsPlainMemberName(member.strName) && NormalizePath(member.strName) != "uninstall.dat")
            byName[NormalizePath(member.strName)] = {member.strName, member.nSize};
    std::vector<std::pair<std::string, std::uint32_t>> members;
    for (const auto& entry : byName)
        members.push_back(entry.second);
    run.ExpectMembers(members);
}

bool LaunchAndInstall(CCaseRun& run, SCaseResult& result)
{
    if (!run.Launch() || run.WalkToMenuPage() != EInstallOutcome::Success)
    {
        Finish(run);
        return false;
    }
    SCancelPlan none;
    const EInstallOutcome eInstall = run.Install(none);
    SetOutcome(result, OutcomeName(eInstall));
    if (eInstall != EInstallOutcome::Success)
    {
        Finish(run);
        return false;
    }
    run.CheckInstalled();
    return true;
}

// Walks with the case's folders, installs, removes a successful installation again.
EInstallOutcome InstallAndRemove(CCaseRun& run, SCaseResult& result, SCancelPlan* pPlan, bool bUninstallProgram)
{
    SCancelPlan none;
    SCancelPlan& plan = pPlan != nullptr ? *pPlan : none;
    const EInstallOutcome eWalk = run.WalkToMenuPage();
    if (eWalk == EInstallOutcome::NoRoom || eWalk == EInstallOutcome::Refused)
    {
        SetOutcome(result, OutcomeName(eWalk));
        if (run.CancelOnPage(IDYES))
            run.CheckNotInstalled("after the cancel on the folder or start menu page");
        return eWalk;
    }
    if (eWalk != EInstallOutcome::Success)
        return EInstallOutcome::Broken;
    const EInstallOutcome eInstall = run.Install(plan);
    SetOutcome(result, OutcomeName(eInstall));
    if (eInstall == EInstallOutcome::Success)
        RemoveInstallation(run, bUninstallProgram);
    else if (eInstall != EInstallOutcome::Broken)
        run.CheckNotInstalled(eInstall == EInstallOutcome::Cancelled ? "after the cancel" : "after the failure");
    return eInstall;
}

void Finish(CCaseRun& run)
{
    if (!run.Broken())
        run.Quit();
    run.CheckNotInstalled("at the end");
    run.CheckSurroundings("at the end");
}

namespace
{
// ---- cabinets -------------------------------------------------------------------------------

void RunCabinetCase(SCaseResult& result, const SCampaignOptions& options, bool bGcab)
{
    CRandom random(result.nSeed);
    std::string strBase;
    std::string strBaseWhat;
    if (bGcab)
    {
        strBase = ReadFileBytes(MediumSource("data.cab"));
        strBaseWhat = "gcab data.cab";
    }
    else
        strBase = RandomWriterCabinet(random, strBaseWhat);
    const SMutatedCabinet mutated = MutateCabinet(strBase, random, WindowsFolder());
    const bool bEnglish = random.Chance(50);
    result.strWhat = strBaseWhat + "; " + mutated.strWhat + (bEnglish ? " (English)" : " (German)");

    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    WriteTextFile(run.Session().MediumFile("data.cab"), mutated.strBytes);
    ExpectPlainMembers(run, mutated.strBytes);
    run.Snapshot();
    if (run.Launch())
        InstallAndRemove(run, result);
    Finish(run);
    // Where a hostile name would have put its file, outside every tree the snapshot covers.
    for (const std::string& strEscape : {std::string("Z:\\tmp\\") + mutated.strMarker, std::string("Z:\\") + mutated.strMarker})
        if (LongPathExists(strEscape))
        {
            run.Count(kOutside, "escaped to " + strEscape);
            RemoveLongPath(strEscape);
        }
}

// ---- configuration --------------------------------------------------------------------------

void RunConfigCase(SCaseResult& result, const SCampaignOptions& options, bool bLicence)
{
    CRandom random(result.nSeed);
    const bool bEnglish = result.nIndex % 2 == 0;
    const std::string strFile = bLicence ? (bEnglish ? "eula_en.txt" : "eula.txt") : IniName(bEnglish);
    const std::string strOriginal = ReadFileBytes(MediumSource(strFile.c_str()));
    const SConfigDamage damage = bLicence ? DamageLicence(strOriginal, random) : DamageSetupIni(strOriginal, random);
    result.strWhat = strFile + ": " + damage.strWhat;

    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    const std::string strPath = run.Session().MediumFile(strFile.c_str());
    CScopedHandle hLock;
    switch (damage.eForm)
    {
    case EFileForm::Content:
        WriteTextFile(strPath, damage.strContent);
        break;
    case EFileForm::Missing:
        DeleteFileA(strPath.c_str());
        break;
    case EFileForm::Folder:
        DeleteFileA(strPath.c_str());
        CreateDirectoryA(strPath.c_str(), nullptr);
        break;
    case EFileForm::Locked:
        hLock.Reset(CreateFileA(strPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        break;
    }
    run.ExpectDemoPayload(true);
    run.Snapshot();
    if (run.Launch())
    {
        if (damage.eForm != EFileForm::Content)
            run.Count(kBehaviour, "the main window came although " + strFile + " is " + damage.strWhat);
        InstallAndRemove(run, result);
    }
    else if (run.SawBox(EBox::StartupMissing) && damage.eForm == EFileForm::Content && !damage.strContent.empty())
        run.Count(kBehaviour, "a file with content was called missing");
    Finish(run);
}

// ---- install folders at and beyond MAX_PATH -----------------------------------------------

// Around the cabinet's 200-character folder buffer, up to MAX_PATH and far beyond it.
const unsigned s_anPathLengths[] = {150, 180, 190, 195, 198, 199, 200, 201, 205, 220, 235, 240, 245, 248,
                                    250, 255, 258, 259, 260, 261, 262, 270, 300, 400, 1000, 5000, 32000};
const char* const s_apszPathForms[] = {"short names", "long names", "trailing backslash", "forward slashes",
                                       "a name beyond 255"};

std::string MakeLongPath(const std::string& strBase, unsigned nLength, unsigned nForm)
{
    const char chSeparator = nForm == 3 ? '/' : '\\';
    const std::string strTail = std::string(1, chSeparator) + "Zanto" + (nForm == 2 ? "\\" : "");
    std::string strPath = strBase;
    const std::size_t nComponent = nForm == 1 ? 250 : 40;
    bool bFirst = true;
    while (strPath.size() + strTail.size() < nLength)
    {
        const std::size_t nRoom = nLength - strTail.size() - strPath.size();
        if (nRoom < 2)
        {
            strPath += 'q';
            continue;
        }
        std::size_t nTake = std::min(nRoom - 1, bFirst && nForm == 4 ? std::size_t(300) : nComponent);
        strPath += chSeparator;
        strPath += std::string(nTake, static_cast<char>('a' + strPath.size() % 26));
        bFirst = false;
    }
    return strPath + strTail;
}

void RunPathCase(SCaseResult& result, const SCampaignOptions& options)
{
    const unsigned nCount = sizeof(s_anPathLengths) / sizeof(s_anPathLengths[0]);
    const unsigned nLength = s_anPathLengths[result.nIndex % nCount];
    const unsigned nForm = result.nIndex % 5;
    const bool bEnglish = (result.nIndex / 5) % 2 == 0;
    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    const std::string strInstallDir = MakeLongPath(run.Sandbox() + "\\parent", nLength, nForm);
    run.SetInstallDir(strInstallDir);
    result.strWhat = "install folder of " + std::to_string(strInstallDir.size()) + " characters, " +
                     s_apszPathForms[nForm] + (bEnglish ? " (English)" : " (German)");
    run.ExpectDemoPayload(true);
    run.Snapshot();
    if (run.Launch())
        InstallAndRemove(run, result);
    Finish(run);
}

// ---- start menu folders ---------------------------------------------------------------------

struct SMenuFolder
{
    const char* pszWhat;
    std::string strFolder; // as typed on the start menu page
};

const std::vector<SMenuFolder>& MenuFolders()
{
    static const std::vector<SMenuFolder> s_folders = {
        {"empty: the programs folder itself", ""},
        {"a lone backslash", "\\"},
        {"climbing out of the programs folder", "\\..\\..\\zanto-menu-out"},
        {"climbing up to the drive root", "\\..\\..\\..\\..\\..\\..\\..\\.."},
        {"characters Windows forbids", "\\Zanto a|b<c>\"d\""},
        {"beyond MAX_PATH", "\\" + std::string(250, 'm')},
        {"at MAX_PATH with the shortcut names", "\\" + std::string(180, 'n')},
        {"a device name", "\\CON"},
        {"a drive path", "C:\\zanto-menu-abs"},
        {"four new levels", "\\Zanto\\Demo\\Deep\\Deeper"},
        {"a trailing dot", "\\Zanto stress."},
        {"blanks around", "\\  Zanto stress  "},
        {"a stream name", "\\Zanto:stream"},
        {"format characters", "\\%s%n%x"},
        {"forward slashes", "/Zanto stress/fwd"},
        {"a folder of the user's that exists", "(user)"},
    };
    return s_folders;
}

void RunMenuCase(SCaseResult& result, const SCampaignOptions& options)
{
    const std::vector<SMenuFolder>& folders = MenuFolders();
    const SMenuFolder& folder = folders[result.nIndex % folders.size()];
    const bool bEnglish = (result.nIndex / folders.size()) % 2 == 0;
    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    std::string strFolder = folder.strFolder;
    struct SUserFolder
    {
        std::string strPath;
        ~SUserFolder()
        {
            if (!strPath.empty())
                RemoveLongPath(strPath);
        }
    } user;
    if (strFolder == "(user)")
    {
        // Shortcuts go into it; the folder and the user's own shortcut stay.
        strFolder = "\\Zanto user " + run.Sandbox().substr(run.Sandbox().find_last_of('\\') + 1);
        user.strPath = ProgramsFolder() + strFolder;
        CreateDirectoryA(user.strPath.c_str(), nullptr);
        WriteTextFile(user.strPath + "\\Mine.lnk", "the user's shortcut");
    }
    run.SetMenuFolder(strFolder);
    result.strWhat = std::string("start menu folder: ") + folder.pszWhat + (bEnglish ? " (English)" : " (German)");
    run.ExpectDemoPayload(true);
    run.Snapshot();
    if (run.Launch())
        InstallAndRemove(run, result);
    Finish(run);
}

// ---- full and filling disks -----------------------------------------------------------------

std::string KiB(std::uint64_t nBytes)
{
    return std::to_string(nBytes / 1024) + " KiB";
}

void RunDiskCase(SCaseResult& result, const SCampaignOptions& options, bool bFills)
{
    if (options.strDrive.empty())
    {
        result.strWhat = "no test drive";
        result.strOutcome = "skipped";
        return;
    }
    const std::string strRoot = options.strDrive + ":\\";
    ULARGE_INTEGER nFree = {}, nTotal = {}, nTotalFree = {};
    GetDiskFreeSpaceExA(strRoot.c_str(), &nFree, &nTotal, &nTotalFree);
    const bool bEnglish = result.nIndex % 2 == 0;
    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    run.SetInstallDir(strRoot + "Zanto");
    run.AddWatchedTree(strRoot);
    CDriveFill fill(strRoot);
    const std::string strLanguage = bEnglish ? " (English)" : " (German)";

    if (!bFills)
    {
        // A drive without a byte free: typed in directly (the page checked the proposed
        // folder's drive), or shown by the folder page on the second pass.
        const bool bSecondPass = (result.nIndex / 2) % 2 == 1;
        const bool bTopUpLater = result.nIndex >= 4;
        if (bTopUpLater)
        {
            AnnounceSmallSizes(run);
            result.strWhat = "drive filled while the start menu page is open" + strLanguage;
        }
        else
        {
            fill.Fill("\\filler.bin", 0);
            result.strWhat = std::string(bSecondPass ? "full drive, folder page shown for it"
                                                     : "full drive typed on the folder page") + strLanguage;
        }
        run.AddOwnPath(strRoot + "topup.bin");
        run.ExpectDemoPayload(true);
        run.Snapshot();
        if (!run.Launch())
        {
            Finish(run);
            return;
        }
        if (bSecondPass)
        {
            // The first pass leaves the typed folder in the wizard; cancelled, the wizard shows it
            // on the folder page of the next pass.
            const EInstallOutcome eFirst = run.WalkToMenuPage(3);
            if (eFirst == EInstallOutcome::Success)
                run.Count(kBehaviour, "Next enabled on the folder page for a folder typed on a full drive");
            if (eFirst == EInstallOutcome::Broken || !run.CancelOnPage(IDYES))
            {
                Finish(run);
                return;
            }
            const EInstallOutcome eWalk = run.WalkToMenuPage(3);
            if (eWalk == EInstallOutcome::NoRoom)
            {
                SetOutcome(result, "no room");
                if (run.CancelOnPage(IDYES))
                    run.CheckNotInstalled("after the cancel on the folder page");
                Finish(run);
                return;
            }
            if (eWalk == EInstallOutcome::Success)
            {
                run.Count(kBehaviour, "Next enabled on the folder page of a full drive");
                run.CancelOnPage(IDYES);
            }
            Finish(run);
            return;
        }
        if (bTopUpLater)
        {
            const EInstallOutcome eWalk = run.WalkToMenuPage();
            if (eWalk != EInstallOutcome::Success)
            {
                Finish(run);
                return;
            }
            fill.Fill("\\topup.bin", 0);
            SCancelPlan none;
            const EInstallOutcome eInstall = run.Install(none);
            SetOutcome(result, OutcomeName(eInstall));
            if (eInstall == EInstallOutcome::Success)
                RemoveInstallation(run);
            else if (eInstall != EInstallOutcome::Broken)
                run.CheckNotInstalled("after the failure");
            Finish(run);
            return;
        }
        // The folder page judges the typed folder's drive too.
        InstallAndRemove(run, result);
        Finish(run);
        return;
    }

    // Free space from 1 MiB up: the drive fills at another file each time, or, with a big
    // language file, during the language files; the last ones fit.
    AnnounceSmallSizes(run);
    // 1 MiB to 2.1 MiB in steps of 144 KiB: the demo's 2.1 MB fill the drive at another file
    // each time; 2.5 and 3.75 MiB hold it.
    const unsigned nStep = result.nIndex % 12;
    std::uint64_t nLeave = nStep < 9 ? (1024u + 144u * nStep) << 10 : nStep == 9 ? 2560u << 10 : 3840u << 10;
    std::string strExtra;
    if (nStep == 10)
    {
        // A language tree larger than the free space.
        WriteTextFile(run.Session().MediumFile(bEnglish ? "en\\docs\\big.dat" : "ger\\docs\\big.dat"),
                      std::string(1500000, 'L'));
        nLeave = 1200u << 10;
        strExtra = ", 1.5 MB language file";
    }
    const std::uint64_t nHave = nLeave >= nTotal.QuadPart ? nFree.QuadPart : fill.Fill("\\filler.bin", nLeave);
    result.strWhat = KiB(nHave) + " free of " + KiB(nTotal.QuadPart) + strExtra + strLanguage;
    run.ExpectDemoPayload(nStep != 10);
    run.Snapshot();
    if (run.Launch())
        InstallAndRemove(run, result);
    Finish(run);
}

// ---- read-only files at Deinstall -----------------------------------------------------------

const char* const s_apszReadOnly[] = {
    "one installed file", "uninstall.dat", "three installed files", "every installed file", "one shortcut",
    "every shortcut", "the folder data\\maps", "the install folder", "one installed file, no uninstall.dat",
    "a file of the user's in the install folder", "a language file", "the medium (as on a CD)",
};

void RunReadOnlyCase(SCaseResult& result, const SCampaignOptions& options)
{
    const unsigned nVariants = sizeof(s_apszReadOnly) / sizeof(s_apszReadOnly[0]);
    const unsigned nVariant = result.nIndex % nVariants;
    const bool bRestart = (result.nIndex / nVariants) % 2 == 1;
    // The second half of the cases removes with uninstall.exe instead of the setup program.
    const bool bUninstallProgram = (result.nIndex / (2 * nVariants)) % 2 == 1;
    const bool bEnglish = result.nIndex % 2 == 0;
    CRandom random(result.nSeed);
    const bool bNoList = nVariant == 8;
    const char* pszRemoval = bUninstallProgram ? "uninstall.exe" : "Deinstall";
    result.strWhat = std::string("read-only: ") + s_apszReadOnly[nVariant] + ", " + pszRemoval +
                     (bNoList ? (bRestart ? " after a restart" : " at once")
                              : (bRestart ? " again after a restart" : " again at once")) +
                     (bEnglish ? " (English)" : " (German)");
    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    const auto remove = [&] { return bUninstallProgram ? run.UninstallProgram() : run.Deinstall(); };
    if (nVariant == 11)
    {
        for (const std::string& strFile : FilesBelow(run.Medium()))
            SetFileAttributesA((run.Medium() + "\\" + strFile).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    run.ExpectDemoPayload(nVariant != 9);
    run.Snapshot();
    if (!run.Launch())
    {
        Finish(run);
        return;
    }
    const EInstallOutcome eWalk = run.WalkToMenuPage();
    if (eWalk != EInstallOutcome::Success)
    {
        Finish(run);
        return;
    }
    SCancelPlan none;
    const EInstallOutcome eInstall = run.Install(none);
    SetOutcome(result, OutcomeName(eInstall));
    if (eInstall != EInstallOutcome::Success)
    {
        run.Count(kBehaviour, "the installation did not succeed");
        if (eInstall != EInstallOutcome::Broken)
            run.CheckNotInstalled("after the failure");
        Finish(run);
        return;
    }
    run.CheckInstalled();
    run.CheckSurroundings("installed");

    const std::string strDir = run.InstallDir();
    std::vector<std::string> files = FilesBelow(strDir);
    files.erase(std::remove(files.begin(), files.end(), "uninstall.dat"), files.end());
    std::vector<std::string> locked;
    const auto lock = [&](const std::string& strPath) {
        SetFileAttributesA(strPath.c_str(), GetFileAttributesA(strPath.c_str()) | FILE_ATTRIBUTE_READONLY);
        locked.push_back(strPath);
    };
    const std::vector<std::string> links = FilesBelow(run.MenuPath());
    switch (nVariant)
    {
    case 0:
        lock(strDir + "\\" + random.Pick(files));
        break;
    case 1:
        lock(strDir + "\\uninstall.dat");
        break;
    case 2:
        for (int i = 0; i < 3; ++i)
            lock(strDir + "\\" + random.Pick(files));
        break;
    case 3:
        for (const std::string& strFile : files)
            lock(strDir + "\\" + strFile);
        break;
    case 4:
        if (!links.empty())
            lock(run.MenuPath() + "\\" + random.Pick(links));
        break;
    case 5:
        for (const std::string& strLink : links)
            lock(run.MenuPath() + "\\" + strLink);
        break;
    case 6:
        lock(strDir + "\\data\\maps");
        break;
    case 7:
        lock(strDir);
        break;
    case 8:
        DeleteFileA((strDir + "\\uninstall.dat").c_str());
        lock(strDir + "\\" + random.Pick(files));
        break;
    case 9:
        WriteTextFile(strDir + "\\data\\my notes.txt", "the user's\r\n");
        lock(strDir + "\\data\\my notes.txt");
        break;
    case 10:
        lock(strDir + (bEnglish ? "\\readme.txt" : "\\liesmich.txt"));
        break;
    default:
        break; // the installed copies of the medium's read-only files
    }

    if (bNoList)
    {
        // Without its list, the removal cannot tell the installation's files from the user's: the
        // shortcuts and the record go, and the folder keeps every file.
        const std::vector<std::string> before = FilesBelow(strDir);
        if ((!bRestart || (run.Quit() && run.Launch())) && remove())
        {
            SetOutcome(result, "removed, the folder kept");
            if (!RecordValues().empty())
                run.Count(kRecord, "the record stays after a removal without the list");
            if (LongPathExists(run.MenuPath()))
                run.Count(kLeftover, "the start menu folder stays after a removal without the list");
            if (FilesBelow(strDir) != before)
                run.Count(kChanged, "a removal without the list removed files of the install folder");
            ClearReadOnly(strDir);
            RemoveLongPath(strDir);
            run.CheckNotInstalled("after the removal and the folder deleted by hand");
        }
        Finish(run);
        return;
    }

    if (remove())
    {
        SetOutcome(result, "removed at once");
        run.CheckNotInstalled("after the removal");
        Finish(run);
        return;
    }
    if (run.Broken())
    {
        Finish(run);
        return;
    }
    SetOutcome(result, "removal stopped");
    for (const SBoxSeen& box : run.Boxes())
        if (box.eKind == EBox::FileError || box.eKind == EBox::Other)
            run.Note("removal stopped: \"" + box.strText + "\"");
    if (!run.SawBox(EBox::FileError))
        run.Count(kBehaviour, "the removal stopped without a file error");
    // Read-only copies of a read-only medium are the installation's own files: nobody made
    // anything read-only, so its removal must finish.
    if (nVariant == 11)
        run.Count(kRecord, "Deinstall of an installation from a read-only medium stopped; the record stays with a "
                           "half-removed installation");
    // A stopped removal keeps the record, so that Deinstall can be tried again; what could not
    // be deleted is still there.
    if (RecordValues().empty())
        run.Count(kRecord, "the record went with a removal that stopped");
    for (const std::string& strLocked : locked)
        if (nVariant != 6 && nVariant != 7 && !LongPathExists(strLocked))
            run.Count(kBehaviour, "gone although read-only: " + strLocked);
    run.CheckSurroundings("after the stopped removal");

    ClearReadOnly(strDir);
    ClearReadOnly(run.MenuPath());
    if (bRestart)
    {
        if (!run.Quit() || !run.Launch())
        {
            Finish(run);
            return;
        }
        if (run.Main().GetText(IDC_INSTALL) != (bEnglish ? "Deinstall" : "Deinstallieren"))
            run.Count(kRecord, "after the restart the start page offers no Deinstall");
    }
    if (remove())
    {
        SetOutcome(result, "removed on the second try");
        run.CheckNotInstalled("after the second removal");
    }
    else if (!run.Broken())
        run.Count(kBehaviour, "the second removal stopped too");
    Finish(run);
}

// ---- cancel at every step -------------------------------------------------------------------

}

// The status lines of the language files in the order the program copies them: its enumeration
// of the tree, each folder entered where it is met, the tree's top folder dropped.
static void AppendTreeOrder(const std::string& strMediumFolder, const std::string& strRelative, const std::string& strTarget,
                     bool bEnglish, std::vector<std::string>& order)
{
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((strMediumFolder + "\\*.*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    std::vector<WIN32_FIND_DATAA> entries;
    do
        entries.push_back(data);
    while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    for (const WIN32_FIND_DATAA& entry : entries)
    {
        const std::string strName = entry.cFileName;
        if (strName == "." || strName == "..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            AppendTreeOrder(strMediumFolder + "\\" + strName, strRelative + "\\" + strName, strTarget + "\\" + strName,
                            bEnglish, order);
        else
            order.push_back(StatusOf(bEnglish, strTarget + "\\" + strName));
    }
}

std::vector<std::string> InstallOrder(CCaseRun& run, std::size_t& nLanguageFiles)
{
    std::vector<std::string> order;
    const char* pszTree = run.English() ? "en" : "ger";
    AppendTreeOrder(run.Medium() + "\\" + pszTree, pszTree, run.InstallDir(), run.English(), order);
    nLanguageFiles = order.size();
    for (const SCabMemberInfo& member : DeclaredMembers(ReadFileBytes(run.Session().MediumFile("data.cab"))))
        order.push_back(StatusOf(run.English(), run.InstallDir() + "\\" + member.strName));
    return order;
}

namespace
{
// A medium of many files: 30 language files more and a cabinet of 150 members.
void MakeManyFiles(CCaseRun& run)
{
    for (const char* pszTree : {"en", "ger"})
    {
        const std::string strFolder = run.Medium() + "\\" + pszTree + "\\extra";
        CreateDirectoryA(strFolder.c_str(), nullptr);
        for (int i = 0; i < 30; ++i)
        {
            char szName[32];
            std::snprintf(szName, sizeof(szName), "\\note%02d.txt", i);
            WriteTextFile(strFolder + szName, std::string(500 + 20 * i, static_cast<char>('a' + i % 26)));
        }
    }
    WriteTextFile(run.Session().MediumFile("data.cab"), ManyFilesCabinet(150));
}

const char* const s_apszCancelPages[] = {"licence page", "folder page", "start menu page"};

void RunCancelPageCase(SCaseResult& result, const SCampaignOptions& options)
{
    const int anPages[] = {1, 3, 4};
    const int nPage = anPages[result.nIndex % 3];
    const bool bEnglish = (result.nIndex / 3) % 2 == 0;
    const bool bFirstNo = (result.nIndex / 6) % 2 == 1;
    const bool bEscape = (result.nIndex / 12) % 2 == 1;
    result.strWhat = std::string("cancel on the ") + s_apszCancelPages[result.nIndex % 3] +
                     (bFirstNo ? ", No, then Yes" : ", Yes") + (bEscape ? " by Escape" : " by click") +
                     (bEnglish ? " (English)" : " (German)");
    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    run.ExpectDemoPayload(true);
    run.Snapshot();
    if (!run.Launch())
    {
        Finish(run);
        return;
    }
    if (run.WalkToMenuPage(nPage) != EInstallOutcome::Success)
    {
        Finish(run);
        return;
    }
    if (bFirstNo)
    {
        if (!run.CancelOnPage(IDNO, bEscape))
        {
            Finish(run);
            return;
        }
        if (PageOf(run.Main()) != nPage)
            run.Count(kBehaviour, "after No the wizard left page " + std::to_string(nPage));
    }
    if (!run.CancelOnPage(IDYES, bEscape))
    {
        Finish(run);
        return;
    }
    SetOutcome(result, "cancelled");
    run.CheckNotInstalled("after the cancel");
    run.CheckSurroundings("after the cancel");
    // The wizard still installs after a cancel.
    InstallAndRemove(run, result);
    Finish(run);
}

struct SCancelFileCase
{
    bool bManyFiles;
    unsigned nFile; // in the step
};

void RunCancelFileCase(SCaseResult& result, const SCampaignOptions& options, bool bCabinet)
{
    // Files of the step at which the cancel comes: the first, the second, some in the middle,
    // the one before the last and the last, on the demo medium and on one of many files.
    static const SCancelFileCase s_aLanguage[] = {{false, 0}, {false, 1}, {false, 2}, {true, 0}, {true, 1},
                                                  {true, 9},  {true, 20}, {true, 31}, {true, 32}};
    static const SCancelFileCase s_aCabinet[] = {{false, 0}, {false, 1}, {false, 2},  {false, 5},  {false, 10},
                                                 {false, 15}, {false, 19}, {false, 20}, {true, 0},  {true, 1},
                                                 {true, 10},  {true, 50},  {true, 100}, {true, 148}, {true, 149}};
    const SCancelFileCase* pCases = bCabinet ? s_aCabinet : s_aLanguage;
    const unsigned nCases = bCabinet ? sizeof(s_aCabinet) / sizeof(s_aCabinet[0]) : sizeof(s_aLanguage) / sizeof(s_aLanguage[0]);
    const SCancelFileCase& c = pCases[result.nIndex % nCases];
    const unsigned nRound = result.nIndex / nCases;
    const bool bEnglish = (result.nIndex + nRound) % 2 == 0;
    // Mostly Yes; every fourth No, which lets the installation finish.
    const int nAnswer = result.nIndex % 4 == 3 ? IDNO : IDYES;
    const bool bEscape = result.nIndex % 5 == 4;
    // Where the install folder's parent and the folder itself were before.
    const unsigned nPlace = result.nIndex % 3;
    static const char* const s_apszPlaces[] = {"parent existed", "parent new", "install folder existed with a file"};

    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    if (c.bManyFiles)
        MakeManyFiles(run);
    if (nPlace == 1)
        run.SetInstallDir(run.Sandbox() + "\\new parent\\Zanto");
    else if (nPlace == 2)
    {
        CreateDirectoryA(run.InstallDir().c_str(), nullptr);
        WriteTextFile(run.InstallDir() + "\\savegame.sav", "level 7\r\n");
    }
    std::size_t nLanguageFiles = 0;
    SCancelPlan plan;
    plan.order = InstallOrder(run, nLanguageFiles);
    plan.nTarget = (bCabinet ? nLanguageFiles : 0) + c.nFile;
    plan.nAnswer = nAnswer;
    plan.bEscape = bEscape;
    // The first file of the language step takes a cancel queued behind the click on Install.
    plan.eWhen = plan.nTarget == 0 ? SCancelPlan::EWhen::Queued : SCancelPlan::EWhen::AtStatus;
    const std::size_t nStepFiles = bCabinet ? plan.order.size() - nLanguageFiles : nLanguageFiles;
    result.strWhat = std::string("cancel at ") + (bCabinet ? "cabinet" : "language") + " file " +
                     std::to_string(c.nFile + 1) + " of " + std::to_string(nStepFiles) +
                     (c.bManyFiles ? " (many-file medium)" : "") + ", " + (nAnswer == IDYES ? "Yes" : "No") +
                     (bEscape ? " by Escape" : "") + ", " + s_apszPlaces[nPlace] + (bEnglish ? " (English)" : " (German)");
    if (c.bManyFiles)
    {
        std::vector<std::pair<std::string, std::uint32_t>> members;
        for (const SCabMemberInfo& member : DeclaredMembers(ReadFileBytes(run.Session().MediumFile("data.cab"))))
            members.emplace_back(member.strName, member.nSize);
        run.ExpectMembers(members);
    }
    else
        run.ExpectDemoPayload(nPlace != 2);
    run.Snapshot();
    if (!run.Launch())
    {
        Finish(run);
        return;
    }
    const EInstallOutcome eInstall = InstallAndRemove(run, result, &plan);
    // Where the cancel was asked: the status line names the file the program had just written.
    for (const SBoxSeen& box : run.Boxes())
        if (box.eKind == EBox::CancelQuestion && !box.strStatus.empty())
        {
            const auto it = std::find(plan.order.begin(), plan.order.end(), box.strStatus);
            const std::string strAt = it == plan.order.end() ? "\"" + box.strStatus.substr(0, 60) + "\""
                                                             : "file " + std::to_string(it - plan.order.begin() + 1);
            run.Note("clicked at install file " + std::to_string(plan.nClickedAt + 1) + ", asked at " + strAt +
                     " of " + std::to_string(plan.order.size()));
            break;
        }
    if (eInstall == EInstallOutcome::Cancelled && result.nIndex % 2 == 0)
    {
        // The same process installs again into the same folders.
        InstallAndRemove(run, result);
    }
    Finish(run);
}
}

const std::vector<SKind>& CampaignKinds()
{
    static const std::vector<SKind> s_kinds = {
        {"cab-gcab", "Cabinet: demo data.cab (gcab, MSZIP) mutated", 150, {0, 2},
         [](SCaseResult& r, const SCampaignOptions& o) { RunCabinetCase(r, o, true); }},
        {"cab-writer", "Cabinet: writer-made (stored) mutated", 150, {1},
         [](SCaseResult& r, const SCampaignOptions& o) { RunCabinetCase(r, o, false); }},
        {"config-ini", "Configuration: setup_en.ini / setup_ger.ini", 60, {0, 1},
         [](SCaseResult& r, const SCampaignOptions& o) { RunConfigCase(r, o, false); }},
        {"config-licence", "Configuration: eula_en.txt / eula.txt", 50, {1},
         [](SCaseResult& r, const SCampaignOptions& o) { RunConfigCase(r, o, true); }},
        {"path", "Install folder at and beyond MAX_PATH", 54, {5},
         [](SCaseResult& r, const SCampaignOptions& o) { RunPathCase(r, o); }},
        {"menu", "Start menu folder: odd, long and existing", 32, {9},
         [](SCaseResult& r, const SCampaignOptions& o) { RunMenuCase(r, o); }},
        {"disk-full", "Disk: full drive", 6, {0},
         [](SCaseResult& r, const SCampaignOptions& o) { RunDiskCase(r, o, false); }},
        {"disk-fills", "Disk: drive fills during the installation", 12, {0},
         [](SCaseResult& r, const SCampaignOptions& o) { RunDiskCase(r, o, true); }},
        {"readonly", "Read-only files at Deinstall and at uninstall.exe", 48, {0, 24, 37},
         [](SCaseResult& r, const SCampaignOptions& o) { RunReadOnlyCase(r, o); }},
        {"cancel-page", "Cancel on a wizard page", 24, {2},
         [](SCaseResult& r, const SCampaignOptions& o) { RunCancelPageCase(r, o); }},
        {"cancel-language", "Cancel at a language file", 18, {1},
         [](SCaseResult& r, const SCampaignOptions& o) { RunCancelFileCase(r, o, false); }},
        {"cancel-cabinet", "Cancel at a cabinet file", 30, {4},
         [](SCaseResult& r, const SCampaignOptions& o) { RunCancelFileCase(r, o, true); }},
        {"users-folder", "Folder of the user's: cancel at each file, each step failing, success", 33, {5, 30},
         [](SCaseResult& r, const SCampaignOptions& o) { RunUsersFolderCase(r, o); }},
        {"ended", "Program ended in the middle, then the next run", 42, {3, 16},
         [](SCaseResult& r, const SCampaignOptions& o) { RunEndedCase(r, o); }},
        {"record", "Damaged uninstall record at Deinstall", 21, {5, 8},
         [](SCaseResult& r, const SCampaignOptions& o) { RunDamagedRecordCase(r, o); }},
        {"typed-folder", "Typed install folders and product folder names", 23, {7, 18},
         [](SCaseResult& r, const SCampaignOptions& o) { RunTypedFolderCase(r, o); }},
        {"planted", "Libraries, commands and list lines of a stranger's", 30, {2, 10},
         [](SCaseResult& r, const SCampaignOptions& o) { RunPlantedCase(r, o); }},
        {"silent-cab", "Silent: demo data.cab mutated, /VERYSILENT and uninstall.exe /SILENT", 40, {0},
         [](SCaseResult& r, const SCampaignOptions& o) { RunSilentCabinetCase(r, o); }},
        {"silent-disk", "Silent: full and filling drive under /VERYSILENT", 8, {3},
         [](SCaseResult& r, const SCampaignOptions& o) { RunSilentDiskCase(r, o); }},
        {"silent-readonly", "Silent: read-only files at uninstall.exe /SILENT", 8, {0},
         [](SCaseResult& r, const SCampaignOptions& o) { RunSilentReadOnlyCase(r, o); }},
    };
    return s_kinds;
}
