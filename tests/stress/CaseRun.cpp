#include "CaseRun.h"

#include <algorithm>
#include <cstdio>

#include "CancelHook.h"
#include "DriverError.h"
#include "Folders.h"
#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "WindowFinder.h"
#include "WindowText.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
// A window that takes this long for an empty message is taken for hung: far beyond any file
// the demo writes, also on a loaded machine.
constexpr DWORD kAnswerLimitMs = 30000;
constexpr DWORD kProbeEveryMs = 1000;
constexpr DWORD kReadMs = 2000;
// A page or state that the program must reach after a click.
constexpr DWORD kStepLimitMs = 60000;

const char* const kInstallLogHeader = "ZantoSetup install log 2";

struct SBoxText
{
    EBox eKind;
    const char* pszText;
    bool bPrefix;
};

const SBoxText s_aBoxTexts[] = {
    {EBox::CancelQuestion, "Do you really want to cancel ?", false},
    {EBox::CancelQuestion, "Wollen Sie wirklich abbrechen ?", false},
    {EBox::DeinstallQuestion, "Do you really want to deinstall this game ?", false},
    {EBox::DeinstallQuestion, "Wollen Sie Zanto wirklich Deinstallieren ?", false},
    {EBox::Success, "Installation successfull.", false},
    {EBox::Success, "Installation erfolgreich abgeschlossen.", false},
    {EBox::StepFailure, "Error while coping the language files !!\nAborting installation !", false},
    {EBox::StepFailure, "Fehler beim kopieren der Sprach Dateien !!\nInstallation abgebrochen !", false},
    {EBox::StepFailure, "Error while extracting the cab-file !!\nAborting installation !", false},
    {EBox::StepFailure, "Fehler beim extrahieren der CAB-Datei !!\nInstallation abgebrochen !", false},
    {EBox::StepFailure, "Error while coping the files !!\nAborting installation !", false},
    {EBox::StepFailure, "Fehler beim kopieren der Dateien !!\nInstallation abgebrochen !", false},
    {EBox::StepFailure, "Error while creating registry enties !!\nAborting installation !", false},
    {EBox::StepFailure, "Fehler beim erstellen der Registry Eintr\xE4ge!\nInstallation abgebrochen !", false},
    {EBox::CopyFailed, "Copy failed ", true},
    {EBox::StartupMissing, "INI-File not found", false},
    {EBox::StartupMissing, "INI-Datei nicht gefunden", false},
    {EBox::StartupMissing, "eule_en.txt not found", false},
    {EBox::StartupMissing, "eula.txt nicht gefunden", false},
};

EBox Classify(const std::string& strText)
{
    for (const SBoxText& box : s_aBoxTexts)
        if (box.bPrefix ? strText.compare(0, std::string(box.pszText).size(), box.pszText) == 0 : strText == box.pszText)
            return box.eKind;
    // The texts of the program's file errors, which name the file.
    static const char* const s_apszFileErrors[] = {"Zugriff auf ", " wurde nicht gefunden.", " enth\xE4lt eine ung\xFCltige",
                                                   "Ein unbekannter Fehler", "Eine Zugriffsverletzung", "Eine Sperrverletzung"};
    for (const char* pszPart : s_apszFileErrors)
        if (strText.find(pszPart) != std::string::npos)
            return EBox::FileError;
    return EBox::Other;
}

// The hook DLL beside the campaign and the memory it shares with it; loaded once.
struct SCancelHook
{
    HMODULE hDll = nullptr;
    HOOKPROC pfnProc = nullptr;
    SCancelHookShared* pShared = nullptr;
};

EStressFault g_eSelfCheckFault = kFaultNone;

SCancelHook& CancelHook()
{
    static SCancelHook s_hook;
    static bool s_bTried = false;
    if (!s_bTried)
    {
        s_bTried = true;
        char szPath[MAX_PATH];
        const DWORD nLength = GetModuleFileNameA(nullptr, szPath, MAX_PATH);
        std::string strPath(szPath, nLength);
        strPath = strPath.substr(0, strPath.find_last_of('\\')) + "\\stress_hook.dll";
        const HANDLE hMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                   sizeof(SCancelHookShared), STRESS_HOOK_MAPPING);
        s_hook.hDll = LoadLibraryA(strPath.c_str());
        if (hMapping != nullptr && s_hook.hDll != nullptr)
        {
            s_hook.pShared = static_cast<SCancelHookShared*>(
                MapViewOfFile(hMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SCancelHookShared)));
            s_hook.pfnProc = reinterpret_cast<HOOKPROC>(
                reinterpret_cast<void (*)()>(GetProcAddress(s_hook.hDll, STRESS_HOOK_PROC)));
        }
    }
    return s_hook;
}

std::string OneLine(std::string str)
{
    for (char& ch : str)
        if (ch == '\n' || ch == '\r')
            ch = '|';
    if (str.size() > 200)
        str = str.substr(0, 200) + "...";
    return str;
}

std::string ProgramFilesFolder()
{
    char szFolder[MAX_PATH] = {};
    DWORD nSize = sizeof(szFolder);
    RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", RRF_RT_REG_SZ,
                 nullptr, szFolder, &nSize);
    return szFolder;
}

std::string ParentOf(const std::string& strPath)
{
    const std::size_t nSlash = strPath.find_last_of('\\');
    return nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash);
}

std::vector<std::string> ShortcutNames(bool bEnglish)
{
    if (bEnglish)
        return {"Deinstall Zanto.lnk", "Play Zanto.lnk", "Readme.txt.lnk", "Homepage.lnk", "Options.lnk"};
    return {"Zanto deinstallieren.lnk", "Zanto spielen.lnk", "Liesmich.txt.lnk", "Homepage.lnk", "Einstellungen.lnk"};
}

std::uint64_t LongFileSize(const std::string& strPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(LongPath(strPath).c_str(), GetFileExInfoStandard, &data))
        return ~0ull;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string ReadLongFile(const std::string& strPath, bool& bRead)
{
    bRead = false;
    HANDLE hFile = CreateFileW(LongPath(strPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return std::string();
    std::string strContent;
    char buffer[65536];
    DWORD nRead = 0;
    while (ReadFile(hFile, buffer, sizeof(buffer), &nRead, nullptr) && nRead > 0)
        strContent.append(buffer, nRead);
    CloseHandle(hFile);
    bRead = true;
    return strContent;
}
}

std::string WindowsFolder()
{
    char szWindows[MAX_PATH];
    GetWindowsDirectoryA(szWindows, MAX_PATH);
    return szWindows;
}

std::string TempFolder()
{
    char szTemp[MAX_PATH];
    const DWORD nLength = GetTempPathA(MAX_PATH, szTemp);
    std::string str(szTemp, nLength);
    while (!str.empty() && str.back() == '\\')
        str.pop_back();
    return str;
}

const char* CountName(int nCount)
{
    static const char* const s_apszNames[kCountKinds] = {"crash",    "hang",      "outside", "changed",
                                                         "record",   "leftover",  "behaviour", "harness"};
    return s_apszNames[nCount];
}

bool SCaseResult::Clean() const
{
    return std::all_of(std::begin(anCounts), std::end(anCounts), [](int n) { return n == 0; });
}

const char* OutcomeName(EInstallOutcome eOutcome)
{
    switch (eOutcome)
    {
    case EInstallOutcome::Success:
        return "installed";
    case EInstallOutcome::Failed:
        return "failed";
    case EInstallOutcome::Cancelled:
        return "cancelled";
    case EInstallOutcome::NoRoom:
        return "no room";
    case EInstallOutcome::Refused:
        return "menu folder refused";
    case EInstallOutcome::Ended:
        return "ended";
    default:
        return "broken";
    }
}

std::string StatusOf(bool bEnglish, const std::string& strTarget)
{
    return std::string(bEnglish ? "Copy file:\n" : "Kopiere Datei:\n") + strTarget;
}

namespace
{
BOOL CALLBACK FindCrashWindow(HWND hWnd, LPARAM lParam)
{
    // winedbg's dialog after an unhandled exception.
    if (IsWindowVisible(hWnd) && ReadWindowCaption(hWnd).find("Program Error") != std::string::npos)
    {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}
}

HWND FindCrashDialog()
{
    HWND hFound = nullptr;
    EnumWindows(FindCrashWindow, reinterpret_cast<LPARAM>(&hFound));
    return hFound;
}

void DismissCrashDialog(HWND hDialog)
{
    PostMessageA(hDialog, WM_COMMAND, IDOK, 0);
    PostMessageA(hDialog, WM_CLOSE, 0, 0);
    WaitForWindowGone(hDialog, 5000);
}

CCaseRun::CCaseRun(SCaseResult& result, bool bEnglish, DWORD dwTimeLimitMs)
    : m_result(result), m_bEnglish(bEnglish), m_dwStart(GetTickCount()), m_dwTimeLimitMs(dwTimeLimitMs)
{
    m_pSession = std::make_unique<CSetupSession>();
    m_strSandbox = UniqueTempPath("zst");
    CreateDirectoryA(m_strSandbox.c_str(), nullptr);
    // The parent of the install folder holds files of its own, one of them read-only.
    const std::string strParent = m_strSandbox + "\\parent";
    CreateDirectoryA(strParent.c_str(), nullptr);
    CreateDirectoryA((strParent + "\\keep").c_str(), nullptr);
    WriteTextFile(strParent + "\\neighbour.txt", "not the installation's\r\n");
    WriteTextFile(strParent + "\\keep\\save.dat", std::string(3000, 's'));
    WriteTextFile(strParent + "\\readonly.txt", "read-only neighbour\r\n");
    SetFileAttributesA((strParent + "\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    m_strInstallDir = strParent + "\\Zanto";
    m_strMenuFolder = "\\Zanto stress " + m_strSandbox.substr(m_strSandbox.find_last_of('\\') + 1);
}

// Whether the clean-up may delete strPath with all below it: never a drive root, never one of
// the machine's own folders or a folder that holds one.
static bool MayRemove(const std::string& strPath)
{
    const std::string strKey = NormalizePath(strPath);
    if (strKey.find('\\') == std::string::npos || strKey.compare(0, 2, "z:") == 0)
        return false;
    for (const std::string& strKeep : {TempFolder(), WindowsFolder(), ProgramsFolder(), ProgramFilesFolder(),
                                       std::string("C:\\users"), std::string("C:\\ProgramData")})
        if (IsAtOrBelow(NormalizePath(strKeep), strKey))
            return false;
    return true;
}

CCaseRun::~CCaseRun()
{
    if (m_hFaultHook != nullptr)
        UnhookWindowsHookEx(m_hFaultHook);
    try
    {
        m_pSession->Process().Terminate();
        if (const HWND hCrash = FindCrashDialog())
            DismissCrashDialog(hCrash);
        if (m_bSnapshot)
        {
            // What a case wrote outside was counted; it goes, so that the next case starts clean.
            // Only what was not there before: a new folder holds nothing older.
            CSnapshot now;
            TakeSnapshot(now);
            for (const std::string& strAdded : CompareSnapshots(m_before, now).added)
                if (MayRemove(strAdded))
                    RemoveLongPath(strAdded);
        }
        // The install and start menu folders only when the case made them.
        if (!m_bInstallExisted && MayRemove(m_strInstallDir))
            RemoveLongPath(m_strInstallDir);
        if (!m_bMenuExisted && MayRemove(MenuPath()))
            RemoveLongPath(MenuPath());
        if (MayRemove(m_strSandbox))
            RemoveLongPath(m_strSandbox);
    }
    catch (...)
    {
    }
}

std::string CCaseRun::MenuPath() const
{
    return ProgramsFolder() + m_strMenuFolder;
}

void CCaseRun::Note(const std::string& strNote)
{
    m_result.notes.push_back(strNote);
}

void CCaseRun::Count(ECount eCount, const std::string& strNote)
{
    const std::string strKey = std::string(CountName(eCount)) + ":" + strNote;
    if (!m_reported.insert(strKey).second)
        return;
    m_result.anCounts[eCount] = 1;
    Note(std::string(CountName(eCount)) + ": " + OneLine(strNote));
}

bool CCaseRun::SawBox(EBox eKind) const
{
    return BoxSince(0, eKind);
}

std::string CCaseRun::StatusText() const
{
    if (!m_pMain)
        return std::string();
    const std::optional<std::string> strStatus = TryReadWindowText(GetDlgItem(m_pMain->GetHwnd(), IDC_STATUS), kReadMs);
    return strStatus ? *strStatus : std::string();
}

void CCaseRun::TakeSnapshot(CSnapshot& snapshot) const
{
    snapshot.AddTree(TempFolder(), true); // the sandbox with the install folder's parent, the medium
    snapshot.AddTree(ProgramsFolder(), true);
    snapshot.AddTree(ParentOf(ProgramsFolder()), false);
    snapshot.AddTree("C:\\", false);
    snapshot.AddTree(WindowsFolder(), false);
    snapshot.AddTree(ProgramFilesFolder(), false);
    if (!IsAtOrBelow(NormalizePath(m_strInstallDir), NormalizePath(TempFolder())))
        snapshot.AddTree(ParentOf(m_strInstallDir), true);
    // A start menu folder that leaves the programs folder, and what lies around it.
    snapshot.AddTree(ParentOf(ResolvePath(MenuPath())), false);
    snapshot.AddTree(MenuPath(), true);
    for (const std::string& strRoot : m_watched)
        snapshot.AddTree(strRoot, true);
}

void CCaseRun::Snapshot()
{
    m_bMenuExisted = LongPathExists(MenuPath());
    m_bInstallExisted = LongPathExists(m_strInstallDir);
    m_before = CSnapshot();
    TakeSnapshot(m_before);
    m_bSnapshot = true;
}

void CCaseRun::Break()
{
    m_bBroken = true;
    m_pSession->Process().Terminate();
}

bool CCaseRun::CheckProcess()
{
    if (m_bBroken)
        return false;
    if (const HWND hCrash = FindCrashDialog())
    {
        Count(kCrash, "Wine crash dialog \"" + ReadWindowCaption(hCrash) + "\"");
        DismissCrashDialog(hCrash);
        Break();
        return false;
    }
    CProcessUnderTest& process = m_pSession->Process();
    if (!process.IsRunning())
    {
        const DWORD dwCode = process.GetExitCode();
        char szCode[32];
        std::snprintf(szCode, sizeof(szCode), "0x%lX", static_cast<unsigned long>(dwCode));
        if (m_bExitExpected)
        {
            if (dwCode != m_dwExpectedExitCode)
                Count(kCrash, std::string("ended with exit code ") + szCode);
            return true;
        }
        Count(kCrash, std::string("ended unexpectedly with exit code ") + szCode);
        m_bBroken = true;
        return false;
    }
    const DWORD dwNow = GetTickCount();
    if (m_pMain && IsWindow(m_pMain->GetHwnd()) && dwNow - m_dwLastProbe >= kProbeEveryMs)
    {
        DWORD_PTR dwResult = 0;
        if (!SendMessageTimeoutA(m_pMain->GetHwnd(), WM_NULL, 0, 0, SMTO_NORMAL, kAnswerLimitMs, &dwResult) &&
            IsWindow(m_pMain->GetHwnd()) && process.IsRunning())
        {
            if (const HWND hCrash = FindCrashDialog())
            {
                Count(kCrash, "Wine crash dialog \"" + ReadWindowCaption(hCrash) + "\"");
                DismissCrashDialog(hCrash);
            }
            else
                Count(kHang, "the main window did not answer within 30 s; status \"" + OneLine(StatusText()) + "\"");
            Break();
            return false;
        }
        m_dwLastProbe = GetTickCount();
    }
    return true;
}

void CCaseRun::AnswerBoxes(SCancelPlan* pPlan)
{
    const DWORD dwPid = m_pSession->Process().GetPid();
    m_answered.erase(std::remove_if(m_answered.begin(), m_answered.end(), [](HWND h) { return !IsWindow(h); }),
                     m_answered.end());
    const std::vector<HWND> boxes = ListMessageBoxes(dwPid);
    for (const HWND hBox : boxes)
    {
        if (std::find(m_answered.begin(), m_answered.end(), hBox) != m_answered.end())
            continue;
        const std::optional<std::string> strRead = TryReadWindowText(GetDlgItem(hBox, kMessageBoxTextId), kReadMs);
        if (!strRead)
            continue;
        SBoxSeen seen{hBox, Classify(*strRead), *strRead, IDOK, std::string()};
        switch (seen.eKind)
        {
        case EBox::CancelQuestion:
        {
            seen.strStatus = StatusText();
            // A click that reached the program only after the installation had finished (its
            // message is open) is not a cancel a user could make: it is declined.
            const bool bSuccessOpen = std::any_of(m_boxes.begin(), m_boxes.end(), [&](const SBoxSeen& box) {
                return box.eKind == EBox::Success && IsWindow(box.hBox);
            });
            if (pPlan == nullptr || !pPlan->bClicked)
            {
                Count(kBehaviour, "a cancel question came unasked");
                seen.nAnswer = IDNO;
            }
            else if (bSuccessOpen)
            {
                Note("the cancel click came after the installation had finished: answered No");
                seen.nAnswer = IDNO;
            }
            else
                seen.nAnswer = pPlan->nAnswer;
            break;
        }
        case EBox::StepFailure:
        case EBox::CopyFailed:
            seen.strStatus = StatusText();
            break;
        case EBox::DeinstallQuestion:
            seen.nAnswer = m_bAskedToDeinstall ? IDYES : IDNO;
            if (!m_bAskedToDeinstall)
                Count(kBehaviour, "a deinstall question came unasked");
            break;
        case EBox::Other:
            Note("message: \"" + OneLine(*strRead) + "\"");
            break;
        default:
            break;
        }
        if (GetDlgItem(hBox, seen.nAnswer) == nullptr)
        {
            for (const int nButton : {IDOK, IDNO, IDCANCEL, IDYES, IDABORT, IDIGNORE, IDRETRY})
                if (GetDlgItem(hBox, nButton) != nullptr)
                {
                    seen.nAnswer = nButton;
                    break;
                }
        }
        try
        {
            AnswerMessageBox(hBox, seen.nAnswer);
        }
        catch (const CDriverError&)
        {
            continue; // gone meanwhile
        }
        m_answered.push_back(hBox);
        m_boxes.push_back(seen);
    }
}

void CCaseRun::TriggerCancel(SCancelPlan& plan)
{
    if (plan.bClicked || plan.eWhen != SCancelPlan::EWhen::AtStatus || !m_pMain)
        return;
    if (m_hHook != nullptr && CancelHook().pShared->nFired)
    {
        plan.bClicked = true;
        plan.nClickedAt = plan.nTarget;
    }
}

bool CCaseRun::Drive(const std::function<bool()>& fnDone, DWORD dwMs, SCancelPlan* pPlan)
{
    const DWORD dwBegin = GetTickCount();
    for (;;)
    {
        if (!CheckProcess())
            return false;
        try
        {
            AnswerBoxes(pPlan);
            if (pPlan != nullptr)
                TriggerCancel(*pPlan);
            if (fnDone())
                return true;
        }
        catch (const CDriverError&)
        {
            // A control that did not answer: the next probe tells a hang from a busy moment.
        }
        if (m_bExitExpected && !m_pSession->Process().IsRunning())
            return fnDone();
        const DWORD dwNow = GetTickCount();
        if (dwNow - m_dwStart > m_dwTimeLimitMs)
        {
            Count(kHang, "the case ran past its time limit of " + std::to_string(m_dwTimeLimitMs / 1000) + " s");
            Break();
            return false;
        }
        if (dwMs != 0 && dwNow - dwBegin > dwMs)
            return false;
        const bool bWatchStatus = pPlan != nullptr && !pPlan->bClicked && pPlan->eWhen == SCancelPlan::EWhen::AtStatus;
        Sleep(bWatchStatus ? 0 : 20);
    }
}

bool CCaseRun::Launch()
{
    m_dwStart = GetTickCount();
    m_pMain.reset();
    m_answered.clear();
    m_bExitExpected = true; // a missing configuration file ends the start with a message
    m_dwExpectedExitCode = 1;
    try
    {
        try
        {
            m_pSession->ChooseLanguage(m_bEnglish);
        }
        catch (const CDriverError& error)
        {
            // CreateProcess itself failed (seen once in thousands of starts, under load): that is
            // the machine's, not the program's; one more start after a pause, and a note of it.
            if (m_pSession->Process().GetPid() != 0)
                throw;
            Note(std::string("start failed, tried again: ") + error.what());
            Sleep(1000);
            m_pSession->ChooseLanguage(m_bEnglish);
        }
    }
    catch (const CDriverError& error)
    {
        if (m_pSession->Process().GetPid() == 0)
        {
            Count(kHarness, std::string("start: ") + error.what());
            Break();
        }
        else if (CheckProcess() && m_pSession->Process().IsRunning())
        {
            // The language dialog did not come or did not take the choice.
            Count(kHarness, std::string("start: ") + error.what());
            Break();
        }
        else if (!m_pSession->Process().IsRunning() && !m_bBroken)
        {
            Count(kCrash, "ended before its language dialog took the choice");
            m_bBroken = true;
        }
        return false;
    }
    const DWORD dwPid = m_pSession->Process().GetPid();
    HWND hMain = nullptr;
    const bool bCame = Drive(
        [&] {
            hMain = FindProcessWindow(dwPid, [](HWND hWnd) { return ReadWindowCaption(hWnd) == "Zanto Demo Setup"; });
            return hMain != nullptr || !m_pSession->Process().IsRunning();
        },
        kStepLimitMs);
    if (m_bBroken)
        return false;
    if (hMain == nullptr || !m_pSession->Process().IsRunning())
    {
        if (m_pSession->Process().IsRunning())
        {
            m_result.strOutcome = "no main window";
            Count(kHang, "no main window and no message within 60 s");
            Break();
            return false;
        }
        // Ended: only after its message that a file is missing, and with 1 (CheckProcess counted
        // another code).
        CheckProcess();
        if (!SawBox(EBox::StartupMissing))
            Count(kCrash, "ended at the start without its message");
        m_result.strOutcome = "start ended with its message";
        return false;
    }
    (void)bCame;
    m_bExitExpected = false;
    m_dwExpectedExitCode = 0;
    m_pMain = std::make_unique<CWindowDriver>(hMain);
    if (g_eSelfCheckFault != kFaultNone && !PutFaultIn(hMain))
        return false;
    if (!Drive([&] { return m_pMain->IsVisible(IDC_INSTALL); }, kStepLimitMs))
    {
        if (!m_bBroken)
        {
            Count(kHarness, "the start page did not come");
            Break();
        }
        return false;
    }
    return true;
}

EInstallOutcome CCaseRun::WalkToMenuPage(int nStopPage)
{
    const CWindowDriver& main = *m_pMain;
    const auto step = [&](const std::function<bool()>& fnDone, const char* pszWhat) {
        if (Drive(fnDone, kStepLimitMs))
            return true;
        if (!m_bBroken)
        {
            Count(kHarness, std::string("the wizard did not reach ") + pszWhat);
            Break();
        }
        return false;
    };
    try
    {
        main.Click(IDC_INSTALL);
        if (!step([&] { return main.IsVisible(IDC_ACCEPT); }, "the licence page"))
            return EInstallOutcome::Broken;
        if (nStopPage == 1)
            return EInstallOutcome::Success;
        // A second pass finds the box ticked but Next disabled: the tick is asked for again.
        if (main.GetCheck(IDC_ACCEPT) == BST_CHECKED)
        {
            main.Click(IDC_ACCEPT);
            if (!step([&] { return main.GetCheck(IDC_ACCEPT) == BST_UNCHECKED; }, "an unticked box"))
                return EInstallOutcome::Broken;
        }
        main.Click(IDC_ACCEPT);
        if (!step([&] { return main.IsEnabled(IDC_NEXT); }, "an enabled Next on the licence page"))
            return EInstallOutcome::Broken;
        main.Click(IDC_NEXT);
        if (!step([&] { return main.IsVisible(IDC_INSTALL_DIR); }, "the folder page"))
            return EInstallOutcome::Broken;
        Settle(main);
        // The page checks the folder as it is typed; a case may keep the one the wizard proposes.
        if (!m_bKeepProposedFolder)
            main.SetText(IDC_INSTALL_DIR, m_strInstallDir);
        Settle(main);
        // The page's verdict on the folder, also where the walk stops.
        if (!main.IsEnabled(IDC_NEXT))
            return EInstallOutcome::NoRoom;
        if (nStopPage == 3)
            return EInstallOutcome::Success;
        main.Click(IDC_NEXT);
        if (!step([&] { return main.IsVisible(IDC_MENU_FOLDER); }, "the start menu page"))
            return EInstallOutcome::Broken;
        main.SetText(IDC_MENU_FOLDER, m_strMenuFolder);
        Settle(main);
        return main.IsEnabled(IDC_NEXT) ? EInstallOutcome::Success : EInstallOutcome::Refused;
    }
    catch (const CDriverError& error)
    {
        if (CheckProcess())
        {
            Count(kHarness, std::string("walk: ") + error.what());
            Break();
        }
        return EInstallOutcome::Broken;
    }
}

void SetSelfCheckFault(EStressFault eFault)
{
    g_eSelfCheckFault = eFault;
    if (CancelHook().pShared != nullptr)
        CancelHook().pShared->nFault = eFault;
}

bool SelfCheckFaultSet()
{
    return g_eSelfCheckFault != kFaultNone;
}

bool CCaseRun::PutFaultIn(HWND hMain)
{
    SCancelHook& hook = CancelHook();
    if (m_hFaultHook != nullptr)
        UnhookWindowsHookEx(m_hFaultHook);
    m_hFaultHook = nullptr;
    if (hook.pfnProc != nullptr)
    {
        hook.pShared->hDialog = reinterpret_cast<ULONG_PTR>(hMain);
        hook.pShared->hNext = reinterpret_cast<ULONG_PTR>(GetDlgItem(hMain, IDC_NEXT));
        hook.pShared->nStrayWritten = 0;
        hook.pShared->nFault = g_eSelfCheckFault;
        m_hFaultHook = SetWindowsHookExA(WH_CALLWNDPROC, hook.pfnProc, hook.hDll, GetWindowThreadProcessId(hMain, nullptr));
    }
    if (m_hFaultHook == nullptr)
    {
        Count(kHarness, "the self-check's fault could not be put into the program (stress_hook.dll)");
        Break();
        return false;
    }
    return true;
}

bool CCaseRun::PageZeroSettled(bool bWantInstallCaption)
{
    const CWindowDriver& main = *m_pMain;
    // A failed step shows the start page before its clean-up runs: the page counts once the click
    // that started the installation has been handled whole.
    Settle(main);
    if (!main.IsVisible(IDC_INSTALL) || !main.IsEnabled(IDCANCEL) ||
        !ListMessageBoxes(m_pSession->Process().GetPid()).empty())
        return false;
    return !bWantInstallCaption || main.GetText(IDC_INSTALL) == (m_bEnglish ? "Install" : "Installieren");
}

EInstallOutcome CCaseRun::Install(SCancelPlan& plan)
{
    const std::size_t nFirstBox = m_boxes.size();
    const auto since = [&](EBox eKind, int nAnswer) { return BoxSince(nFirstBox, eKind, nAnswer); };
    // A cancel or an end at a later file: the hook in the program acts when the file is reported.
    // Without it the case could not do what it plans, and would pass as some other case.
    SCancelHook& hook = CancelHook();
    const bool bAtStatus = plan.eWhen == SCancelPlan::EWhen::AtStatus && plan.nTarget < plan.order.size();
    if (bAtStatus && hook.pfnProc == nullptr)
    {
        Count(kHarness, "no cancel hook: stress_hook.dll is missing beside stress_campaign.exe or does not load "
                        "(build the target stress_hook)");
        Break();
        return EInstallOutcome::Broken;
    }
    if (bAtStatus)
    {
        SCancelHookShared& shared = *hook.pShared;
        shared.nArmed = 0;
        shared.nFired = 0;
        shared.hDialog = reinterpret_cast<ULONG_PTR>(m_pMain->GetHwnd());
        shared.hCancel = reinterpret_cast<ULONG_PTR>(GetDlgItem(m_pMain->GetHwnd(), IDCANCEL));
        shared.bEscape = plan.bEscape;
        shared.bKill = plan.bKill;
        // The planned status text is "Copy file:" and the target path on the next line, or a
        // status text of its own.
        const std::string& strStatus = plan.order[plan.nTarget];
        const std::size_t nBreak = strStatus.find('\n');
        lstrcpynA(shared.szTarget, nBreak == std::string::npos ? strStatus.c_str() : strStatus.substr(nBreak + 1).c_str(),
                  sizeof(shared.szTarget));
        shared.nArmed = 1;
        m_hHook = SetWindowsHookExA(WH_CALLWNDPROC, hook.pfnProc, hook.hDll,
                                    GetWindowThreadProcessId(m_pMain->GetHwnd(), nullptr));
        if (m_hHook == nullptr)
        {
            Count(kHarness, "the cancel hook could not be set (error " + std::to_string(GetLastError()) + ")");
            Break();
            return EInstallOutcome::Broken;
        }
    }
    struct SUnhook
    {
        HHOOK& hHook;
        ~SUnhook()
        {
            if (hHook != nullptr)
            {
                CancelHook().pShared->nArmed = 0;
                UnhookWindowsHookEx(hHook);
                hHook = nullptr;
            }
        }
    } unhook{m_hHook};
    const bool bStarted = Act("install", [&] {
        m_pMain->Click(IDC_NEXT);
        if (plan.eWhen == SCancelPlan::EWhen::Queued)
        {
            if (plan.bEscape)
                PressKey(m_pMain->GetHwnd(), VK_ESCAPE);
            else
                m_pMain->Click(IDCANCEL);
            plan.bClicked = true;
        }
    });
    if (!bStarted)
        return EInstallOutcome::Broken;
    // A planned end of the program is no crash.
    m_bExitExpected = plan.bKill;
    const bool bEnded = Drive(
        [&] {
            if (plan.bKill && !m_pSession->Process().IsRunning())
                return true;
            const bool bTerminal = since(EBox::Success, 0) || since(EBox::StepFailure, 0) ||
                                   since(EBox::CancelQuestion, IDYES);
            return bTerminal && PageZeroSettled(false);
        },
        0, &plan);
    if (plan.bKill && !m_pSession->Process().IsRunning() && !m_bBroken)
    {
        m_pMain.reset();
        return EInstallOutcome::Ended;
    }
    m_bExitExpected = false;
    if (!bEnded)
        return EInstallOutcome::Broken;
    // A message that came right after the state waited for would still be answered and noted.
    Drive([] { return false; }, 700, &plan);
    if (m_bBroken)
        return EInstallOutcome::Broken;
    if (since(EBox::CancelQuestion, IDYES))
    {
        if (since(EBox::Success, 0) || since(EBox::StepFailure, 0))
            Count(kBehaviour, "a message of the installation's end came after the confirmed cancel");
        return EInstallOutcome::Cancelled;
    }
    if (since(EBox::StepFailure, 0))
    {
        for (std::size_t i = nFirstBox; i < m_boxes.size(); ++i)
            if (m_boxes[i].eKind == EBox::StepFailure)
                Note("failed: \"" + OneLine(m_boxes[i].strText) + "\" at \"" + OneLine(m_boxes[i].strStatus) + "\"");
        return EInstallOutcome::Failed;
    }
    // Every file of the order is reported as it is written: a whole installation must have
    // reported the planned one.
    if (bAtStatus && !plan.bKill && !plan.bClicked)
        Count(kBehaviour, "the installation succeeded without reporting its file " + std::to_string(plan.nTarget + 1) +
                              ", where the case planned to cancel");
    return EInstallOutcome::Success;
}

bool CCaseRun::CancelOnPage(int nAnswer, bool bEscape)
{
    SCancelPlan plan;
    plan.bClicked = true;
    plan.nAnswer = nAnswer;
    const std::size_t nFirstBox = m_boxes.size();
    const bool bClicked = Act("cancel", [&] {
        if (bEscape)
            PressKey(FocusOf(m_pMain->GetHwnd()), VK_ESCAPE);
        else
            m_pMain->Click(IDCANCEL);
    });
    if (!bClicked)
        return false;
    const bool bDone = Drive(
        [&] {
            if (!BoxSince(nFirstBox, EBox::CancelQuestion) || !ListMessageBoxes(m_pSession->Process().GetPid()).empty())
                return false;
            return nAnswer != IDYES || PageZeroSettled(true);
        },
        kStepLimitMs, &plan);
    if (!bDone && !m_bBroken)
    {
        Count(kHarness, nAnswer == IDYES ? "no cancel question, or no start page after Yes" : "no cancel question");
        Break();
    }
    if (bDone)
        Drive([] { return false; }, 300, &plan);
    return bDone && !m_bBroken;
}

bool CCaseRun::Act(const char* pszStep, const std::function<void()>& fnAction)
{
    try
    {
        fnAction();
        return true;
    }
    catch (const CDriverError& error)
    {
        if (CheckProcess())
            Count(kHarness, std::string(pszStep) + ": " + error.what());
        Break();
        return false;
    }
}

bool CCaseRun::BoxSince(std::size_t nFirstBox, EBox eKind, int nAnswer) const
{
    for (std::size_t i = nFirstBox; i < m_boxes.size(); ++i)
        if (m_boxes[i].eKind == eKind && (nAnswer == 0 || m_boxes[i].nAnswer == nAnswer))
            return true;
    return false;
}

bool CCaseRun::Deinstall()
{
    const std::size_t nFirstBox = m_boxes.size();
    m_bAskedToDeinstall = true;
    if (!Act("deinstall", [&] { m_pMain->Click(IDC_INSTALL); }))
        return false;
    const auto since = [&](EBox eKind) { return BoxSince(nFirstBox, eKind); };
    const bool bDone = Drive(
        [&] {
            if (!since(EBox::DeinstallQuestion) || !PageZeroSettled(false))
                return false;
            return since(EBox::FileError) || since(EBox::Other) ||
                   m_pMain->GetText(IDC_INSTALL) == (m_bEnglish ? "Install" : "Installieren");
        },
        0);
    m_bAskedToDeinstall = false;
    if (!bDone)
        return false;
    Drive([] { return false; }, 500);
    if (m_bBroken)
        return false;
    return m_pMain->GetText(IDC_INSTALL) == (m_bEnglish ? "Install" : "Installieren");
}

bool CCaseRun::Quit()
{
    // A start that ended with its message has no window to quit.
    if (!m_pMain || !m_pSession->Process().IsRunning())
        return !m_pSession->Process().IsRunning();
    if (!Act("quit", [&] { m_pMain->Click(IDCANCEL); }))
        return false;
    m_bExitExpected = true;
    const bool bEnded = Drive([&] { return !m_pSession->Process().IsRunning(); }, kStepLimitMs);
    if (!bEnded && !m_bBroken)
    {
        Count(kHang, "still running 60 s after Quit");
        Break();
        return false;
    }
    CheckProcess();
    return bEnded;
}

bool CCaseRun::CompleteInstallation(std::string& strWhy) const
{
    bool bRead = false;
    const std::string strLog = ReadLongFile(m_strInstallDir + "\\uninstall.dat", bRead);
    if (!bRead)
    {
        strWhy = "no uninstall.dat";
        return false;
    }
    if (strLog.compare(0, std::string(kInstallLogHeader).size(), kInstallLogHeader) != 0)
    {
        strWhy = "uninstall.dat without its header";
        return false;
    }
    std::size_t nPos = 0;
    while (nPos < strLog.size())
    {
        const std::size_t nEnd = std::min(strLog.find("\r\n", nPos), strLog.size());
        const std::string strLine = strLog.substr(nPos, nEnd - nPos);
        nPos = nEnd + 2;
        if (strLine.size() > 2 && (strLine[0] == 'F' || strLine[0] == 'D') && strLine[1] == ' ' &&
            !LongPathExists(strLine.substr(2)))
        {
            strWhy = "listed but missing: " + strLine.substr(2);
            return false;
        }
    }
    for (const std::string& strLink : ShortcutNames(m_bEnglish))
        if (!LongPathExists(MenuPath() + "\\" + strLink))
        {
            strWhy = "no shortcut " + strLink;
            return false;
        }
    for (const auto& [strName, nSize] : m_members)
    {
        const std::uint64_t nHave = LongFileSize(m_strInstallDir + "\\" + strName);
        if (nHave != nSize)
        {
            strWhy = "member " + strName + " has " + (nHave == ~0ull ? std::string("no file") : std::to_string(nHave)) +
                     " bytes, the cabinet declares " + std::to_string(nSize);
            return false;
        }
    }
    if (m_bDemoPayload)
    {
        std::vector<std::string> expected;
        const std::string strPayload = HostPath("ZANTO_PAYLOAD");
        const std::string strTree = Medium() + (m_bEnglish ? "\\en" : "\\ger");
        for (const std::string& strFile : FilesBelow(strPayload))
        {
            expected.push_back(strFile);
            if (HashLongFile(strPayload + "\\" + strFile) != HashLongFile(m_strInstallDir + "\\" + strFile))
            {
                strWhy = strFile + " differs from the payload";
                return false;
            }
        }
        for (const std::string& strFile : FilesBelow(strTree))
        {
            expected.push_back(strFile);
            if (HashLongFile(strTree + "\\" + strFile) != HashLongFile(m_strInstallDir + "\\" + strFile))
            {
                strWhy = strFile + " differs from the medium's language file";
                return false;
            }
        }
        expected.push_back("uninstall.dat");
        std::sort(expected.begin(), expected.end());
        expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
        std::vector<std::string> present = FilesBelow(m_strInstallDir);
        if (present != expected)
        {
            strWhy = "the install folder holds " + std::to_string(present.size()) + " files, the medium installs " +
                     std::to_string(expected.size());
            return false;
        }
    }
    return true;
}

void CCaseRun::CheckInstalled()
{
    const std::map<std::string, std::string> record = RecordValues();
    std::string strWhy;
    if (record.empty())
    {
        Count(kRecord, "installation reported successful, but no uninstall record");
        return;
    }
    const auto it = record.find("InstallLocation");
    if (it == record.end() || NormalizePath(it->second) != NormalizePath(m_strInstallDir))
        Count(kRecord, "the record names another install folder: " + (it == record.end() ? std::string() : it->second));
    if (!CompleteInstallation(strWhy))
    {
        // What the run made outside its install folder shows where the rest went.
        std::string strMade;
        if (m_bSnapshot)
        {
            CSnapshot now;
            TakeSnapshot(now);
            unsigned nShown = 0;
            for (const std::string& strAdded : CompareSnapshots(m_before, now).added)
                if (!IsAtOrBelow(NormalizePath(strAdded), NormalizePath(m_strInstallDir)) && nShown++ < 8)
                    strMade += (strMade.empty() ? "; made outside the install folder: " : ", ") + strAdded;
        }
        Count(kRecord, "record present, installation incomplete: " + strWhy + strMade);
    }
}

bool CCaseRun::IsRunsOwn(const std::string& strKey) const
{
    const std::string strInstall = NormalizePath(m_strInstallDir);
    const std::string strMenu = NormalizePath(MenuPath());
    // The install folder, with the folders made on the way to it.
    if (IsAtOrBelow(strKey, strInstall) || IsAtOrBelow(strInstall, strKey))
        return true;
    if (!m_bMenuExisted)
        return IsAtOrBelow(strKey, strMenu) || IsAtOrBelow(strMenu, strKey);
    // In a start menu folder that was there before, the shortcuts alone.
    for (const std::string& strLink : ShortcutNames(m_bEnglish))
        if (strKey == NormalizePath(MenuPath() + "\\" + strLink))
            return true;
    return false;
}

void CCaseRun::CheckNotInstalled(const char* pszWhen)
{
    const std::map<std::string, std::string> record = RecordValues();
    std::string strWhy;
    if (!record.empty())
        Count(kRecord, std::string(pszWhen) + ": uninstall record without an installation");
    else if (CompleteInstallation(strWhy))
        Count(kRecord, std::string(pszWhen) + ": an installation without uninstall record");
    if (!m_bSnapshot)
        return;
    CSnapshot now;
    TakeSnapshot(now);
    for (const std::string& strAdded : CompareSnapshots(m_before, now).added)
        if (IsRunsOwn(NormalizePath(strAdded)))
            Count(kLeftover, std::string(pszWhen) + ": left " + strAdded);
}

void CCaseRun::CheckSurroundings(const char* pszWhen)
{
    if (!m_bSnapshot)
        return;
    CSnapshot now;
    TakeSnapshot(now);
    const SSnapDiff diff = CompareSnapshots(m_before, now);
    const auto own = [&](const std::string& strKey) {
        return std::any_of(m_own.begin(), m_own.end(), [&](const std::string& strOwn) { return IsAtOrBelow(strKey, strOwn); });
    };
    for (const std::string& strAdded : diff.added)
    {
        const std::string strKey = NormalizePath(strAdded);
        if (!IsRunsOwn(strKey) && !own(strKey))
            Count(kOutside, std::string(pszWhen) + ": new " + strAdded);
    }
    for (const std::string& strRemoved : diff.removed)
        if (!own(NormalizePath(strRemoved)))
            Count(kChanged, std::string(pszWhen) + ": removed " + strRemoved);
    for (const std::string& strChanged : diff.changed)
        if (!own(NormalizePath(strChanged)))
            Count(kChanged, std::string(pszWhen) + ": changed " + strChanged);
}

EBox ClassifyBoxText(const std::string& strText)
{
    return Classify(strText);
}
