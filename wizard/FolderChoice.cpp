#include <windows.h>
#include <shlobj.h>

#include "ComPtr.h"
#include "TextFormat.h"
#include "ZantoSetupDlg.h"

namespace
{
// The shell's folder picker, rooted at My Computer, file-system folders only.
bool BrowseForFolder(HWND hOwner, std::string& strPath)
{
    LPITEMIDLIST pidlRoot = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidlRoot) != S_OK || pidlRoot == nullptr)
        return false;

    char szDisplayName[MAX_PATH] = {};
    BROWSEINFOA browseInfo = {};
    browseInfo.hwndOwner = hOwner;
    browseInfo.pidlRoot = pidlRoot;
    browseInfo.pszDisplayName = szDisplayName;
    browseInfo.lpszTitle = "";
    browseInfo.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST pidlChosen = SHBrowseForFolderA(&browseInfo);

    char szPath[MAX_PATH] = {};
    const bool bChosen = pidlChosen != nullptr && SHGetPathFromIDListA(pidlChosen, szPath);

    CComPtr<IMalloc> pMalloc;
    if (SHGetMalloc(pMalloc.put()) == S_OK && pMalloc)
    {
        pMalloc->Free(pidlRoot);
        if (pidlChosen != nullptr)
            pMalloc->Free(pidlChosen);
    }
    if (bChosen)
        strPath = szPath;
    return bChosen;
}
}

void CZantoSetupDlg::OnBrowse()
{
    std::string strFolder;
    if (!BrowseForFolder(m_hWnd, strFolder))
        return;
    // Always one backslash of our own, also after a drive root that already ends with one.
    m_strInstallDir = FormatText("%s\\%s", strFolder.c_str(), m_strProductDir.c_str());
    // Setting the field checks the new folder through its change notification.
    UpdateData(false);
}

void CZantoSetupDlg::OnChangeInstallDir()
{
    // The field is hidden on the other pages, where Next belongs to them; Next takes it over
    // from the licence page anyway.
    if (m_nPage != 3)
        return;
    m_strInstallDir = GetDlgItemText(IDC_INSTALL_DIR);
    CheckDiskSpace();
}
