#include <windows.h>

#include <cstdlib>

#include "ExitCodes.h"
#include "RunLog.h"
#include "SetupConfig.h"
#include "TextFile.h"
#include "Trace.h"
#include "UniqueHandle.h"
#include "ZantoSetupDlg.h"

namespace
{
// The configuration cannot go on without its files: the message, then the end of the process.
[[noreturn]] void EndWithMessage(CZantoSetupDlg& dlg, const char* pszText)
{
    dlg.Notify(pszText, MB_OK);
    LogResult(SetupResultText(kExitNotStarted), kExitNotStarted);
    FlushRunLog();
    std::exit(kExitNotStarted);
}

// A file that exists but cannot be read whole counts as missing: nothing goes on with values
// that were never read.
bool ReadConfigLines(const char* pszName, std::string (&astrLines)[3])
{
    CTextFile file;
    if (!FileExists(pszName) || !file.Open(pszName))
        return false;
    for (std::string& strLine : astrLines)
        file.ReadLine(strLine);
    return !file.HasFailed();
}

bool ReadLicenseText(const char* pszName, std::string& strText)
{
    CTextFile file;
    if (!FileExists(pszName) || !file.Open(pszName))
        return false;
    std::string strLine;
    while (file.ReadLine(strLine))
        AppendLicenseLine(strText, strLine);
    return !file.HasFailed();
}
}

void CZantoSetupDlg::ReadSetupConfig()
{
    std::string astrLines[3];
    if (!ReadConfigLines(Text("setup_en.ini", "setup_ger.ini"), astrLines))
        EndWithMessage(*this, Text("INI-File not found", "INI-Datei nicht gefunden"));
    m_strProductDir = ConfigValue(astrLines[0]);
    // No folder name is as long as a whole path: such a line is damage, not a product folder, and
    // the folder fields could not even show it (Wine's edit control freezes on long runs of digits).
    if (m_strProductDir.size() >= MAX_PATH)
        EndWithMessage(*this, Text("INI-File not found", "INI-Datei nicht gefunden"));
    g_nSizeBase = ParseByteCount(ConfigValue(astrLines[1]));
    g_nSizeExtra = ParseByteCount(ConfigValue(astrLines[2]));
    Trace("%s %li\n", m_strProductDir.c_str(), static_cast<long>(g_nBytesNeeded));

    std::string strLicense;
    if (!ReadLicenseText(Text("eula_en.txt", "eula.txt"), strLicense))
        EndWithMessage(*this, Text("eule_en.txt not found", "eula.txt nicht gefunden"));
    SetDlgItemText(IDC_LICENSE_TEXT, strLicense);

    WIN32_FIND_DATAA findData;
    CUniqueFind hFind(FindFirstFileA("slideshow\\*.jpg", &findData));
    if (!hFind)
        return;
    do
    {
        const std::string strMatch = std::string("slideshow\\") + findData.cFileName;
        char szFullPath[MAX_PATH];
        const DWORD nLength = GetFullPathNameA(strMatch.c_str(), sizeof(szFullPath), szFullPath, nullptr);
        if (nLength == 0 || nLength >= sizeof(szFullPath))
            continue;
        m_slides.push_back(szFullPath);
        Trace("Found jpg: %s\n", szFullPath);
    } while (FindNextFileA(hFind.get(), &findData));
}
