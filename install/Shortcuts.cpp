#include "Shortcuts.h"

#include <windows.h>
#include <shlobj.h>

#include "ComPtr.h"
#include "CreatePath.h"
#include "Homepage.h"
#include "InstallPaths.h"
#include "MessagePump.h"
#include "RunLog.h"
#include "TargetFiles.h"
#include "TextFormat.h"
#include "Trace.h"
#include "ZantoSetupDlg.h"

namespace
{
// The paths of the menu are limited as their buffers always were; one that does not fit is not
// made at all rather than cut short.
constexpr size_t kMaxPath = 1023;
}

bool IsUsableMenuFolder(const std::string& strProgramsDir, const std::string& strMenuFolder)
{
    // A menu folder that leaves the programs folder gets nothing: Deinstall would not find it there.
    if (!IsSafeMenuFolder(strMenuFolder) || (strProgramsDir + strMenuFolder).size() >= kMaxPath)
        return false;
    // The shell saves a shortcut under a path of at most MAX_PATH characters with its end.
    for (const SShortcut& shortcut : g_aShortcuts)
        for (const char* pszLink : {shortcut.pszLinkEnglish, shortcut.pszLinkGerman})
            if (FormatText(pszLink, strProgramsDir.c_str(), strMenuFolder.c_str()).size() >= MAX_PATH)
                return false;
    return true;
}

bool CZantoSetupDlg::CreateShortcuts()
{
    const std::string strFolder = m_strProgramsDir + m_strMenuFolder;
    if (m_strInstallDir.size() > kMaxPath || !IsUsableMenuFolder(m_strProgramsDir, m_strMenuFolder))
    {
        Trace("FEHLER Link erstellt\n");
        LogFailure("The start menu folder is not one the start menu takes: " + strFolder, ERROR_BAD_PATHNAME);
        return false;
    }
    // Every missing level of the menu folder is made, not only the last one.
    if (const UINT nError = CreatePath((strFolder + "\\").c_str(), &m_installLog); nError != 0)
    {
        Trace("FEHLER Link erstellt\n");
        LogFailure("Cannot make the start menu folder " + strFolder, nError);
        return false;
    }

    bool bAllMade = true;
    for (const SShortcut& shortcut : g_aShortcuts)
    {
        const std::string strLink = FormatText(m_bEnglish ? shortcut.pszLinkEnglish : shortcut.pszLinkGerman,
                                               m_strProgramsDir.c_str(), m_strMenuFolder.c_str());
        const char* pszTarget = m_bEnglish ? shortcut.pszTargetEnglish : shortcut.pszTargetGerman;
        const std::string strTarget =
            pszTarget != nullptr ? FormatText(pszTarget, m_strInstallDir.c_str()) : ProductHomepage(m_bEnglish);
        Trace("Erstelle %s %s\n", strTarget.c_str(), strLink.c_str());
        // The shortcuts take a while each; clicks wait until the menu is done.
        AnswerSentMessages();
        HRESULT hr = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
        if (strLink.size() <= kMaxPath && strTarget.size() <= kMaxPath)
            hr = PrepareTarget(m_installLog, strLink) ? CreateLink(strTarget.c_str(), strLink.c_str(),
                                                                   m_strInstallDir.c_str(), m_strInstallDir.c_str())
                                                      : HRESULT_FROM_WIN32(GetLastError());
        if (hr != S_OK)
        {
            Trace("FEHLER Link erstellt\n");
            LogFailure("Cannot make the shortcut " + strLink, static_cast<DWORD>(hr));
            bAllMade = false;
        }
        else
        {
            LogEvent("Shortcut %s -> %s", strLink.c_str(), strTarget.c_str());
        }
    }
    return bAllMade;
}

HRESULT CZantoSetupDlg::CreateLink(const char* pszTarget, const char* pszLink, const char* pszDescription,
                                   const char* pszWorkingDir)
{
    CComPtr<IShellLinkA> pShellLink;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  pShellLink.put_void());
    if (FAILED(hr))
    {
        Trace("ERROR CoCreateInstance\n");
        return hr;
    }
    pShellLink->SetPath(pszTarget);
    pShellLink->SetDescription(pszDescription);
    pShellLink->SetWorkingDirectory(pszWorkingDir);

    CComPtr<IPersistFile> pPersistFile;
    hr = pShellLink->QueryInterface(IID_IPersistFile, pPersistFile.put_void());
    if (FAILED(hr))
    {
        Trace("ERROR QueryInterface\n");
        return hr;
    }
    WCHAR wszLink[MAX_PATH];
    // A path that does not fit the wide buffer is not saved under a cut-off name.
    if (MultiByteToWideChar(CP_ACP, 0, pszLink, -1, wszLink, MAX_PATH) == 0)
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    return pPersistFile->Save(wszLink, TRUE);
}
