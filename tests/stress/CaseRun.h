// One case of the campaign: a run of the real ZantoSetup.exe on a copy of the demo medium, driven
// from outside, with every message box answered and every check counted.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "CancelHook.h"
#include "ScopedHandle.h"
#include "SetupSession.h"
#include "Snapshot.h"
#include "WindowDriver.h"

enum ECount
{
    kCrash,    // ended unexpectedly, ended with another code than 0, or a crash dialog came
    kHang,     // a window did not answer, or the case ran past its time limit
    kOutside,  // something new outside the install and start menu folders
    kChanged,  // something that was there before was removed or changed
    kRecord,   // the uninstall record and the disk disagree
    kLeftover, // a failed, cancelled or removed installation left something of itself
    kBehaviour, // the program did what it must not, or not what it must, where no other count fits
    kHarness,  // the campaign itself could not go on (a step of the driving failed)
    kCountKinds
};

const char* CountName(int nCount);

struct SCaseResult
{
    std::string strKind;
    unsigned nIndex = 0;
    std::uint64_t nSeed = 0;
    std::string strWhat;
    std::string strOutcome;
    int anCounts[kCountKinds] = {};
    std::vector<std::string> notes;
    double dSeconds = 0;

    bool Clean() const;
};

// Which boxes a run showed and how they were answered.
enum class EBox
{
    CancelQuestion,
    DeinstallQuestion,
    Success,
    StepFailure,
    CopyFailed,
    StartupMissing,
    FileError,
    Other,
};

struct SBoxSeen
{
    HWND hBox;
    EBox eKind;
    std::string strText;
    int nAnswer;
    std::string strStatus; // the status line while a cancel question was open
};

// When the campaign clicks Cancel during the installation.
struct SCancelPlan
{
    enum class EWhen
    {
        Never,
        Queued,   // right behind the click on Install: taken at the first file
        AtStatus, // the moment the install loop reports the file at nTarget of order (stress_hook.dll)
    } eWhen = EWhen::Never;
    std::vector<std::string> order; // the files of the installation as the status line names them, in order
    std::size_t nTarget = 0;
    int nAnswer = IDYES;
    bool bEscape = false; // the Escape key instead of a click
    // The program is ended right at the target (a file, or a status text of the last step) instead.
    bool bKill = false;
    // Filled in by the run.
    bool bClicked = false;
    std::size_t nClickedAt = 0;
};

enum class EInstallOutcome
{
    Success,
    Failed,    // a step's message came
    Cancelled, // the cancel question was answered Yes
    NoRoom,    // Next stayed disabled on the folder page
    Refused,   // Install stayed disabled on the start menu page
    Ended,     // the program was ended in the middle, as planned
    Broken,    // crash, hang or harness failure: the case stops
};

const char* OutcomeName(EInstallOutcome eOutcome);

// The kind of a box by its text, as the run sorts the boxes it answers.
EBox ClassifyBoxText(const std::string& strText);

class CCaseRun
{
public:
    CCaseRun(SCaseResult& result, bool bEnglish, DWORD dwTimeLimitMs);
    ~CCaseRun();
    CCaseRun(const CCaseRun&) = delete;
    CCaseRun& operator=(const CCaseRun&) = delete;

    CSetupSession& Session() { return *m_pSession; }
    const std::string& Medium() const { return m_pSession->MediumPath(); }
    const std::string& Sandbox() const { return m_strSandbox; }
    bool English() const { return m_bEnglish; }

    // Where the run installs; by default the new folder "Zanto" in a parent with files of its own.
    void SetInstallDir(const std::string& strInstallDir) { m_strInstallDir = strInstallDir; }
    // As typed on the start menu page, relative to the common programs folder.
    void SetMenuFolder(const std::string& strMenuFolder) { m_strMenuFolder = strMenuFolder; }
    const std::string& InstallDir() const { return m_strInstallDir; }
    // The folder page keeps the folder that the wizard proposes; InstallDir is then where it leads.
    void KeepProposedFolder() { m_bKeepProposedFolder = true; }
    std::string MenuPath() const;
    // Extra trees to compare, e.g. a test drive.
    void AddWatchedTree(const std::string& strRoot) { m_watched.push_back(strRoot); }
    // Paths the campaign itself writes during the run; never counted.
    void AddOwnPath(const std::string& strPath) { m_own.push_back(NormalizePath(strPath)); }
    // Whether a successful installation must hold exactly the demo medium's files.
    void ExpectDemoPayload(bool bExpect) { m_bDemoPayload = bExpect; }
    // Plain members that a successful installation must hold with these sizes.
    void ExpectMembers(std::vector<std::pair<std::string, std::uint32_t>> members) { m_members = std::move(members); }

    // Takes the picture of the trees around the installation; call after preparing the medium.
    void Snapshot();

    // Starts the program in the case's language (again, after a Quit). True when the main window came; false when
    // the start ended (with a message, answered) or the case broke.
    bool Launch();
    // From the start page to page nStopPage (1, 3 or 4: the start menu page with the case's
    // folders typed in). Returns NoRoom when Next stays disabled on the folder page (also when the
    // walk stops there, after reading Next), and Refused
    // when Install stays disabled for the typed start menu folder (the run stays on that page);
    // Broken on failure.
    EInstallOutcome WalkToMenuPage(int nStopPage = 4);
    // Clicks Install (Next) on the start menu page and drives the installation to its end.
    EInstallOutcome Install(SCancelPlan& plan);
    // Clicks Cancel on the page shown now and answers the question; back on page 0 after Yes.
    bool CancelOnPage(int nAnswer, bool bEscape = false);
    // Deinstall from page 0. Returns whether the removal finished (page 0 offers Install again);
    // false after a file error (answered) or when the case broke.
    bool Deinstall();
    // The same removal by uninstall.exe, started from the record; the setup program stays as it
    // is. True when its closing message came; false after the box of what stopped it (answered),
    // or when it hung. Its copy must leave the temporary folder.
    bool UninstallProgram();
    // Quit on page 0; the process must end with 0.
    bool Quit();

    // The installation by ZantoSetup.exe /VERYSILENT into the case's folders, which must show no
    // window and end with 0 (Success), 4 (Failed) or 1 (Refused: it could not start).
    EInstallOutcome InstallSilently();
    // The removal by the record's QuietUninstallString, which must show no box and end with 0
    // (true; its own file and folders gone within 30 s) or 4 (false: the record stays).
    bool UninstallSilently();
    // Starts the record's command pszValue as Windows' list of programs does; its thread handle
    // is closed. False, counted, when there is none or it cannot start.
    bool StartRecordedCommand(const char* pszValue, PROCESS_INFORMATION& process);

    // The checks of the state between steps and at the end: the record against the disk, what a
    // failed or removed installation left, what changed around it.
    void CheckInstalled();
    void CheckNotInstalled(const char* pszWhen);
    void CheckSurroundings(const char* pszWhen);

    bool Broken() const { return m_bBroken; }
    const std::vector<SBoxSeen>& Boxes() const { return m_boxes; }
    bool SawBox(EBox eKind) const;
    const CWindowDriver& Main() const { return *m_pMain; }
    std::string StatusText() const;

    void Note(const std::string& strNote);
    void Count(ECount eCount, const std::string& strNote);

    // Polls until fnDone holds, answering boxes; false when the case broke or the time ran out
    // (nMs, 0 for the case's limit) without fnDone.
    bool Drive(const std::function<bool()>& fnDone, DWORD dwMs = 0, SCancelPlan* pPlan = nullptr);

private:
    void AnswerBoxes(SCancelPlan* pPlan);
    bool CheckProcess();
    // Runs a driver action of the step named pszStep; when the driver fails, the case counts a
    // harness fault (unless the program is gone, which CheckProcess has counted) and breaks.
    bool Act(const char* pszStep, const std::function<void()>& fnAction);
    // Whether a box of this kind, answered with nAnswer where it is not 0, came from nFirstBox on.
    bool BoxSince(std::size_t nFirstBox, EBox eKind, int nAnswer = 0) const;
    void TriggerCancel(SCancelPlan& plan);
    // Sets the hook that makes the program behave wrongly on purpose (SetSelfCheckFault).
    bool PutFaultIn(HWND hMain);
    bool PageZeroSettled(bool bWantInstallCaption);
    void Break();
    bool CompleteInstallation(std::string& strWhy) const;
    void TakeSnapshot(CSnapshot& snapshot) const;
    // Whether a new entry belongs to the run: in or on the way to its install folder, in a start
    // menu folder it made, or one of its shortcuts.
    bool IsRunsOwn(const std::string& strKey) const;

    SCaseResult& m_result;
    bool m_bEnglish;
    DWORD m_dwStart;
    DWORD m_dwTimeLimitMs;
    std::unique_ptr<CSetupSession> m_pSession;
    std::unique_ptr<CWindowDriver> m_pMain;
    std::string m_strSandbox;
    std::string m_strInstallDir;
    std::string m_strMenuFolder;
    std::vector<std::string> m_watched;
    std::vector<std::string> m_own;
    bool m_bDemoPayload = false;
    bool m_bKeepProposedFolder = false;
    std::vector<std::pair<std::string, std::uint32_t>> m_members;
    CSnapshot m_before;
    bool m_bSnapshot = false;
    // Until the snapshot tells, both count as there before: the clean-up never deletes them.
    bool m_bMenuExisted = true;
    bool m_bInstallExisted = true;
    std::set<std::string> m_reported;
    bool m_bBroken = false;
    bool m_bExitExpected = false;
    // The code of an expected end: 1 for a start that could not go on, 0 for every other.
    DWORD m_dwExpectedExitCode = 0;
    std::vector<HWND> m_answered;
    std::vector<SBoxSeen> m_boxes;
    DWORD m_dwLastProbe = 0;
    bool m_bAskedToDeinstall = false;
    HHOOK m_hHook = nullptr;
    HHOOK m_hFaultHook = nullptr;
};

// While not kFaultNone, every run's program gets this fault at its start: the self-check shows
// with it that each kind counts a program that behaves wrongly.
void SetSelfCheckFault(EStressFault eFault);
bool SelfCheckFaultSet();

// The status line's text for a file the installation writes.
std::string StatusOf(bool bEnglish, const std::string& strTarget);

std::string WindowsFolder();

// A Wine crash dialog on the desktop, and its dismissal.
HWND FindCrashDialog();
void DismissCrashDialog(HWND hDialog);
std::string TempFolder();

// A Wine crash dialog open on the desktop, or nullptr.
HWND FindCrashDialog();
void DismissCrashDialog(HWND hDialog);
