#include "Kinds.h"

#include "InstallRun.h"
#include "KindSteps.h"
#include "SetupSession.h"
#include "UsersFiles.h"

namespace
{
const char* const kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zanto";

const char* const s_apszLocations[] = {"missing", "a number", "binary", "empty", "longer than its buffer",
                                       "another folder of the user's", "another folder with an installation of its own"};
const char* const s_apszMenus[] = {"intact", "missing", "a number"};

void Damage(HKEY hKey, const char* pszName, unsigned nHow, const std::string& strOther)
{
    const DWORD dwNumber = 7;
    const std::string strLong(2100, 'x');
    switch (nHow)
    {
    case 0:
        RegDeleteValueA(hKey, pszName);
        break;
    case 1:
        RegSetValueExA(hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwNumber), sizeof(dwNumber));
        break;
    case 2:
        RegSetValueExA(hKey, pszName, 0, REG_BINARY, reinterpret_cast<const BYTE*>("C:\\"), 3);
        break;
    case 3:
        RegSetValueExA(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
        break;
    case 4:
        RegSetValueExA(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(strLong.c_str()),
                       static_cast<DWORD>(strLong.size() + 1));
        break;
    default:
        RegSetValueExA(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(strOther.c_str()),
                       static_cast<DWORD>(strOther.size() + 1));
        break;
    }
}
}

// Deinstall of a record whose values are damaged acts only on folders that the record names and
// that pass the guards, and on what the list there names: the installation's folder keeps every
// file when the record does not name it, and a later Install into it takes its list over.
void RunDamagedRecordCase(SCaseResult& result, const SCampaignOptions& options)
{
    const unsigned nLocations = sizeof(s_apszLocations) / sizeof(s_apszLocations[0]);
    const unsigned nLocation = result.nIndex % nLocations;
    const unsigned nMenu = (result.nIndex / nLocations) % (sizeof(s_apszMenus) / sizeof(s_apszMenus[0]));
    const bool bEnglish = result.nIndex % 2 == 0;
    result.strWhat = std::string("record: install folder ") + s_apszLocations[nLocation] + ", start menu folder " +
                     s_apszMenus[nMenu] + (bEnglish ? " (English)" : " (German)");
    CCaseRun run(result, bEnglish, options.dwCaseLimitMs);
    run.ExpectDemoPayload(true);
    // Another folder of the user's, with files of the installation's names; in one case with an
    // earlier installation's list there, which names a file of its own and, outside its folder, a
    // file of this installation.
    const std::string strEarlier = run.Sandbox() + "\\other\\Zanto\\earlier.dat";
    const std::string strOther = run.Sandbox() + "\\other\\Zanto";
    CreateDirectoryA((run.Sandbox() + "\\other").c_str(), nullptr);
    {
        const std::string strInstallDir = run.InstallDir();
        run.SetInstallDir(strOther);
        MakeUsersFiles(run);
        run.SetInstallDir(strInstallDir);
    }
    if (nLocation == 6)
    {
        WriteTextFile(strEarlier, "the earlier installation's");
        WriteTextFile(strOther + "\\uninstall.dat", "ZantoSetup install log 2\r\nF " + run.InstallDir() +
                                                        "\\readme.txt\r\nF " + strEarlier + "\r\n");
        // Deinstall of a record that names the other folder removes what its list names there.
        run.AddOwnPath(strEarlier);
    }
    run.Snapshot();
    if (!LaunchAndInstall(run, result))
        return;
    const std::vector<std::string> installed = FilesBelow(run.InstallDir());
    if (!run.Quit())
    {
        Finish(run);
        return;
    }
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_ALL_ACCESS, &hKey) == ERROR_SUCCESS)
    {
        Damage(hKey, "InstallLocation", nLocation, strOther);
        if (nMenu > 0)
            Damage(hKey, "Startmenu", nMenu == 1 ? 0 : 1, std::string());
        RegCloseKey(hKey);
    }
    if (!run.Launch())
    {
        Finish(run);
        return;
    }
    if (run.Deinstall())
    {
        SetOutcome(result, "Deinstall of the damaged record");
        if (!RecordValues().empty())
            run.Count(kRecord, "the damaged record stays after Deinstall");
        if (FilesBelow(run.InstallDir()) != installed)
            run.Count(kChanged, "Deinstall of a record that does not name the install folder removed files in it");
        if (nLocation == 6 && LongPathExists(strEarlier))
            run.Count(kLeftover, "Deinstall left a file that the recorded folder's list names");
        run.CheckSurroundings("after Deinstall of the damaged record");
        // The list stayed in the installation's folder: the next Install there takes it over.
        InstallAndRemove(run, result);
    }
    Finish(run);
}
