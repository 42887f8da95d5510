// What one installation created: the folders it made, the files it wrote where nothing was
// before, and the files of the user's that it put aside before writing over them. Removal deletes
// only what is listed and puts the kept files back, so that what was there before stays.
#pragma once

#include <string>
#include <vector>

#include "UniqueHandle.h"

// The list's file in the install folder, written from the run's first write on and read by Deinstall.
constexpr const char* kInstallLogName = "uninstall.dat";

// A file of the user's that stood where the installation writes, renamed to strKept beside it.
struct SKeptFile
{
    std::string strPath;
    std::string strKept;
    // Kept by an earlier run that never ended, whose list this run took over.
    bool bInherited;
};

class CInstallLog
{
public:
    // An empty list that is known to be complete: nothing was created.
    void Clear();
    // Marks the list as lost: removal then touches no install folder.
    void SetUnknown();
    bool IsKnown() const { return m_bKnown; }

    // Each entry is written to the list's file, when one is open, before it is taken: the caller
    // makes the folder or file only when this returns true.
    bool AddFolder(const std::string& strPath);
    bool AddFile(const std::string& strPath);
    bool AddKept(const std::string& strPath, const std::string& strKept);
    bool SetLanguage(const std::string& strLanguage);

    // Whether strPath is listed as the installation's own: a file it wrote, or one whose place
    // it took from a kept file.
    bool Owns(const std::string& strPath) const;

    // In the order of creation: a folder always comes after its parent.
    const std::vector<std::string>& Folders() const { return m_folders; }
    const std::vector<std::string>& Files() const { return m_files; }
    const std::vector<SKeptFile>& KeptFiles() const { return m_kept; }
    // "en" or "de", or empty when the list does not say.
    const std::string& Language() const { return m_strLanguage; }

    // Opens the list's file at strPath and writes every entry so far; what is added from now on
    // is appended line by line. A list that was loaded from strPath is continued where its last
    // complete line ends.
    bool BeginFile(const std::string& strPath);
    void EndFile() { m_hFile.reset(); }
    bool IsFileOpen() const { return static_cast<bool>(m_hFile); }

    // Reads a list that this program wrote; anything else leaves the list unknown. The kept
    // files of a loaded list count as inherited.
    bool Load(const std::string& strPath);

    std::string Format() const;
    bool Parse(const std::string& strText);

private:
    bool Append(const std::string& strLine);
    void AddOwned(const std::string& strPath);

    bool m_bKnown = true;
    std::vector<std::string> m_folders;
    std::vector<std::string> m_files;
    std::vector<SKeptFile> m_kept;
    std::string m_strLanguage;
    // The listed files in FolderKey form, sorted, for Owns. A sorted vector rather than a set:
    // the tree of a set would cost both programs about 3 KB.
    std::vector<std::string> m_owned;
    // The lines in the order they were added, for Format.
    std::vector<std::string> m_lines;
    // The length of the loaded list's complete lines, where BeginFile continues it, and their number.
    size_t m_nLoadedLength = 0;
    size_t m_nLoadedLines = 0;
    std::string m_strLoadedPath;
    CUniqueFile m_hFile;
};
