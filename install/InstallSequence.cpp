#include <windows.h>
#include <commctrl.h>

#include "CreatePath.h"
#include "ExitCodes.h"
#include "InstallLog.h"
#include "MessagePump.h"
#include "RunLog.h"
#include "SetupLock.h"
#include "TargetFiles.h"
#include "Trace.h"
#include "UninstallRecord.h"
#include "ZantoSetupDlg.h"

namespace
{
struct SStepFailure
{
    const char* pszEnglish;
    const char* pszGerman;
};

// The message of each step that can fail, in the order the steps run.
const SStepFailure s_aStepFailures[] = {
    {"Error while coping the language files !!\nAborting installation !",
     "Fehler beim kopieren der Sprach Dateien !!\nInstallation abgebrochen !"},
    {"Error while extracting the cab-file !!\nAborting installation !",
     "Fehler beim extrahieren der CAB-Datei !!\nInstallation abgebrochen !"},
    {"Error while coping the files !!\nAborting installation !",
     "Fehler beim kopieren der Dateien !!\nInstallation abgebrochen !"},
    {"Error while creating registry enties !!\nAborting installation !",
     "Fehler beim erstellen der Registry Einträge!\nInstallation abgebrochen !"},
};
}

void CZantoSetupDlg::DoInstall()
{
    Trace("DoInstall\n");
    // The uninstall program at work, or an installation that was made while the wizard stood
    // open, leaves this run nothing to do: page 0 shows what is there now.
    CSetupLock lock;
    if (!lock.TryAcquire())
    {
        Notify(Text(kSetupRunningEnglish, kSetupRunningGerman));
        m_nExitCode = kExitNotStarted;
        m_nPage = 0;
        ShowPage();
        return;
    }
    if (UninstallRecordExists())
    {
        LogEvent("Zanto was installed meanwhile: nothing is changed");
        m_nExitCode = kExitSuccess;
        m_nPage = 0;
        ShowPage();
        return;
    }
    // A cancel confirmed during any step removes what was written and sets the flag; it is
    // looked at after every step, so that no later step runs.
    g_bAbort = false;
    m_installLog.Clear();
    // Every installation counts its progress from nothing, also a second one in the same run.
    g_nBytesDone = 0;

    int nFailedStep = -1;
    if (!BeginInstallLog() || !CopyLanguageFiles())
        nFailedStep = 0;
    else if (!g_bAbort && !ExtractCabinet())
        nFailedStep = 1;
    else if (!g_bAbort && m_bFullInstall && !CopySourceFiles())
        nFailedStep = 2;
    else if (!g_bAbort && !CreateMenuAndRegistryEntries())
        nFailedStep = 3;

    if (g_bAbort)
    {
        // The cancel's clean-up has run already and shown page 0.
        LogEvent("The installation was cancelled");
        m_nExitCode = kExitCancelled;
        m_nPage = 0;
        ShowPage();
        return;
    }
    if (nFailedStep >= 0)
    {
        const SStepFailure& failure = s_aStepFailures[nFailedStep];
        Notify(Text(failure.pszEnglish, failure.pszGerman));
        m_nExitCode = kExitFailed;
        m_nPage = 0;
        ShowPage();
        CleanUp();
        return;
    }

    m_installLog.EndFile();
    m_progress.SetPos(100);
    // The full bar stands for a moment before the message; the window keeps answering other
    // programs meanwhile, while the user's clicks wait.
    PauseAnsweringSentMessages(200);
    m_nExitCode = kExitSuccess;
    Notify(Text("Installation successfull.", "Installation erfolgreich abgeschlossen."));
    m_nPage = 0;
    ShowPage();
    m_picture.LoadFile("zanto.jpg");
}

bool CZantoSetupDlg::CreateMenuAndRegistryEntries()
{
    SetDlgItemText(IDC_STATUS, Text("Creating startmenu entries ...", "Erstelle Startmenü-Einträge ..."));
    // A menu without its shortcuts is no installation the user can start or remove from there.
    if (!CreateShortcuts())
        return false;
    SetDlgItemText(IDC_STATUS, Text("Creating registry entries ...", "Erstelle Registry-Einträge ..."));
    AnswerSentMessages();
    // An installation that Deinstall could not find is not finished: without its record it
    // fails like any other step.
    if (!WriteUninstallRecord())
        return false;
    DropKeptFiles(m_installLog);
    SetDlgItemText(IDC_STATUS, Text("Installation finished.", "Installation beendet."));
    return true;
}

bool CZantoSetupDlg::BeginInstallLog()
{
    const std::string strList = m_strInstallDir + "\\" + kInstallLogName;
    // Install is offered only without a record: a list in the folder is that of a run that never
    // ended, and what it names is taken over, so that this run's removal takes it away too.
    if (!m_installLog.Load(strList))
        m_installLog.Clear();
    // The install folder must stand before its list can; its missing levels are the list's first entries.
    if (const UINT nError = CreatePath((m_strInstallDir + "\\").c_str(), &m_installLog); nError != 0)
    {
        LogFailure("Cannot make the install folder " + m_strInstallDir, nError);
        return false;
    }
    return PrepareTarget(m_installLog, strList) && m_installLog.SetLanguage(m_bEnglish ? "en" : "de") &&
           m_installLog.BeginFile(strList);
}
