#include "ZantoSetup.h"

#include <windows.h>

#include "CommandLine.h"
#include "ExitCodes.h"
#include "KeyboardLayout.h"
#include "MessageBox.h"
#include "RunLog.h"
#include "SetupDirectory.h"
#include "TextFormat.h"
#include "Trace.h"
#include "ZantoSetupDlg.h"
#include "ZantoVersion.h"

CZantoSetupApp theApp;

bool CZantoSetupApp::InitInstance()
{
    EnableDialogEnvironment();

    SSetupOptions options;
    const bool bParsed = ParseSetupArguments(ArgumentsAfterProgram(GetCommandLineA()), options);
    const bool bSilent = options.eSilence != ESilence::None;
    // Before the language is chosen, a box speaks the language that the language dialog would preset.
    const bool bEnglish = options.strLanguage.empty() ? !IsGermanKeyboardLayout() : options.strLanguage == "en";
    // A bad switch writes nothing, not even the log; a silent run shows nothing.
    if (!bParsed || options.bHelp)
    {
        if (options.bHelp || !bSilent)
            AppMessageBox(UsageText(bEnglish));
        m_nExitCode = bParsed ? kExitSuccess : kExitNotStarted;
        return false;
    }
    if (!options.strLog.empty() && !OpenRunLog(options.strLog))
    {
        if (!bSilent)
            AppMessageBox(FormatText(bEnglish ? "The log file cannot be written:\n%s"
                                              : "Die Protokolldatei kann nicht geschrieben werden:\n%s",
                                     options.strLog.c_str())
                              .c_str());
        m_nExitCode = kExitNotStarted;
        return false;
    }
    LogEvent("ZantoSetup %s", ZANTO_VERSION_TEXT);
    LogEvent("Command line: %s", GetCommandLineA());

    CZantoSetupDlg dlg;
    dlg.m_options = options;
    const std::string strHelpFilePath = HelpFilePath(ModuleFilePath());
    Trace("m_pszHelpFilePath %s\n", strHelpFilePath.c_str());
    lstrcpynA(dlg.m_szSetupDir, SetupDirFromPath(strHelpFilePath).c_str(), sizeof(dlg.m_szSetupDir));
    EnterSetupDirectory(dlg.m_szSetupDir);

    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // The wizard shows its outcome itself; only a silent run tells it through the exit code.
    m_nExitCode = bSilent ? dlg.m_nExitCode : kExitSuccess;
    LogResult(bSilent ? SetupResultText(m_nExitCode) : "the wizard was closed", m_nExitCode);
    FlushRunLog();
    return false;
}
