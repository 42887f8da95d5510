#include <windows.h>
#include <shlobj.h>

#include "ComPtr.h"
#include "SystemLibrary.h"
#include "TextFormat.h"
#include "ZantoSetupDlg.h"

namespace
{
// The shell's folder picker, rooted at My Computer, file-system folders only.
bool BrowseForFolder(HWND hOwner, std::string& strPath)
{
    using SpecialFolderLocationFunction = HRESULT(WINAPI*)(HWND, int, LPITEMIDLIST*);
    using BrowseForFolderFunction = LPITEMIDLIST(WINAPI*)(LPBROWSEINFOA);
    using PathFromIDListFunction = BOOL(WINAPI*)(LPCITEMIDLIST, LPSTR);
    using GetMallocFunction = HRESULT(WINAPI*)(IMalloc**);
    const auto pSpecialFolderLocation =
        SystemFunction<SpecialFolderLocationFunction>("shell32.dll", "SHGetSpecialFolderLocation");
    const auto pBrowseForFolder = SystemFunction<BrowseForFolderFunction>("shell32.dll", "SHBrowseForFolderA");
    const auto pPathFromIDList = SystemFunction<PathFromIDListFunction>("shell32.dll", "SHGetPathFromIDListA");
    const auto pGetMalloc = SystemFunction<GetMallocFunction>("shell32.dll", "SHGetMalloc");
    if (pSpecialFolderLocation == nullptr || pBrowseForFolder == nullptr || pPathFromIDList == nullptr ||
        pGetMalloc == nullptr)
        return false;

    LPITEMIDLIST pidlRoot = nullptr;
    if (pSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidlRoot) != S_OK || pidlRoot == nullptr)
        return false;

    char szDisplayName[MAX_PATH] = {};
    BROWSEINFOA browseInfo = {};
    browseInfo.hwndOwner = hOwner;
    browseInfo.pidlRoot = pidlRoot;
    browseInfo.pszDisplayName = szDisplayName;
    browseInfo.lpszTitle = "";
    browseInfo.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST pidlChosen = pBrowseForFolder(&browseInfo);

    char szPath[MAX_PATH] = {};
    const bool bChosen = pidlChosen != nullptr && pPathFromIDList(pidlChosen, szPath);

    CComPtr<IMalloc> pMalloc;
    if (pGetMalloc(pMalloc.put()) == S_OK && pMalloc)
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
    UpdateData(false);
    CheckDiskSpace();
}
