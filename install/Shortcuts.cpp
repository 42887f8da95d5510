#include "Shortcuts.h"

#include <windows.h>
#include <shlobj.h>

#include "ComPtr.h"
#include "CreatePath.h"
#include "Homepage.h"
#include "InstallPaths.h"
#include "MessagePump.h"
#include "TextFormat.h"
#include "Trace.h"
#include "ZantoSetupDlg.h"

const SShortcut g_aShortcuts[5] = {
    {"%s%s\\Deinstall Zanto.lnk", "%s%s\\Zanto deinstallieren.lnk", "%s\\uninstall.exe", "%s\\uninstall.exe"},
    {"%s%s\\Play Zanto.lnk", "%s%s\\Zanto spielen.lnk", "%s\\Zanto Demo.exe", "%s\\Zanto Demo.exe"},
    {"%s%s\\Readme.txt.lnk", "%s%s\\Liesmich.txt.lnk", "%s\\readme.txt", "%s\\liesmich.txt"},
    {"%s%s\\Homepage.lnk", "%s%s\\Homepage.lnk", nullptr, nullptr},
    {"%s%s\\Options.lnk", "%s%s\\Einstellungen.lnk", "%s\\settings.exe", "%s\\settings.exe"},
};

namespace
{
// The paths of the menu are limited as their buffers always were; one that does not fit is not
// made at all rather than cut short.
constexpr size_t kMaxPath = 1023;

std::string LinkPath(const SShortcut& shortcut, bool bEnglish, const std::string& strProgramsDir,
                     const std::string& strMenuFolder)
{
    return FormatText(bEnglish ? shortcut.pszLinkEnglish : shortcut.pszLinkGerman, strProgramsDir.c_str(),
                      strMenuFolder.c_str());
}
}

bool IsAcceptedMenuFolder(const std::string& strProgramsDir, const std::string& strMenuFolder, bool bEnglish)
{
    // A menu folder that leaves the programs folder gets nothing: Deinstall would not find it there.
    if (!IsSafeMenuFolder(strMenuFolder))
        return false;
    // A shortcut is saved under its wide name, whose buffer holds MAX_PATH characters; the
    // folder, shorter than each, then fits too.
    for (const SShortcut& shortcut : g_aShortcuts)
        if (LinkPath(shortcut, bEnglish, strProgramsDir, strMenuFolder).size() >= MAX_PATH)
            return false;
    return true;
}

bool CZantoSetupDlg::CreateShortcuts()
{
    const std::string strFolder = m_strProgramsDir + m_strMenuFolder;
    if (m_strInstallDir.size() > kMaxPath || !IsAcceptedMenuFolder(m_strProgramsDir, m_strMenuFolder, m_bEnglish))
    {
        Trace("FEHLER Link erstellt\n");
        return false;
    }
    // Every missing level of the menu folder is made, not only the last one.
    CreatePath((strFolder + "\\").c_str(), &m_installLog);

    bool bAllMade = true;
    for (const SShortcut& shortcut : g_aShortcuts)
    {
        const std::string strLink = LinkPath(shortcut, m_bEnglish, m_strProgramsDir, m_strMenuFolder);
        const char* pszTarget = m_bEnglish ? shortcut.pszTargetEnglish : shortcut.pszTargetGerman;
        const std::string strTarget =
            pszTarget != nullptr ? FormatText(pszTarget, m_strInstallDir.c_str()) : ProductHomepage(m_bEnglish);
        Trace("Erstelle %s %s\n", strTarget.c_str(), strLink.c_str());
        // The shortcuts take a while each; clicks wait until the menu is done.
        AnswerSentMessages();
        const bool bNew = GetFileAttributesA(strLink.c_str()) == INVALID_FILE_ATTRIBUTES;
        if (strTarget.size() > kMaxPath ||
            CreateLink(strTarget.c_str(), strLink.c_str(), m_strInstallDir.c_str(), m_strInstallDir.c_str()) != S_OK)
        {
            Trace("FEHLER Link erstellt\n");
            bAllMade = false;
        }
        else if (bNew)
            m_installLog.AddFile(strLink);
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
