// Files and folders opened for removal as themselves, never as what a link there points to, and
// deleted through that handle: a folder swapped for a link after the check changes nothing.
#pragma once

#include <string>
#include <vector>

#include "UniqueHandle.h"

enum class EEntryKind
{
    File,
    Folder,
};

// Opens strPath when it is an entry of that kind and no link. Folders are opened without sharing
// deletion, so that nobody can rename or replace them while the handle is held. An empty handle
// when the entry is a link, of the other kind or cannot be opened; dwError is then the Win32 error
// of the opening, or 0 for a link or an entry of the other kind, which removal leaves alone.
CUniqueFile OpenUnlinkedEntry(const std::string& strPath, EEntryKind eKind, bool bForDeletion, DWORD& dwError);

// Deletes the entry behind the handle once the handle is closed. False, with the Win32 error set,
// when the system refuses (a read-only file, a folder that is not empty).
bool MarkForDeletion(HANDLE hEntry);

// The folders from a root down to one below it, each held open by OpenUnlinkedEntry, so that no
// folder between the root and an entry can become a link while removal acts on the entry.
class CHeldFolders
{
public:
    // Holds strRoot and every folder below it down to strFolder (strRoot itself, or a folder inside
    // it in the same spelling), keeping what is held of that way already. False when one of them
    // is a link or cannot be opened: nothing below it is removal's to touch.
    bool HoldTo(const std::string& strRoot, const std::string& strFolder);
    // Lets all go, before a held folder itself is removed.
    void Release();

private:
    std::vector<std::string> m_paths;
    std::vector<CUniqueFile> m_handles;
};
