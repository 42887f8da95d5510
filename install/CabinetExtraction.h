// Extraction of the medium's cabinet through SetupAPI.
#pragma once

#include <windows.h>

#include <string>

class CInstallLog;

// The context of one extraction. The callback gets nothing else from the dialog.
struct SCabinetTarget
{
    char szFolder[200];          // the install folder
    CInstallLog* pLog;           // what the extraction creates
    std::string strListKey;      // the installation's list, in FolderKey form
    std::string strLastFolder;   // the folder made sure of for the previous file
    bool bNewFolder;             // whether this extraction created it, so that nothing in it is older
    DWORD nFileSize;             // the size the cabinet gives for the file being extracted
    UINT nError;                 // the first error of an extracted file
    unsigned nMembers;           // the members offered so far
};

// The file callback of SetupIterateCabinetA: names each file's target below the install folder,
// creates its folders, reports progress and keeps the window responsive.
UINT CALLBACK CabinetCallback(PVOID pContext, UINT nNotification, UINT_PTR nParam1, UINT_PTR nParam2);
