// What one installation created: the folders it made and the files it wrote where nothing was
// before. Removal deletes only these, so that files and folders that were there before stay.
#pragma once

#include <string>
#include <vector>

// The list's file in the install folder, written with the installation and read by Deinstall.
constexpr const char* kInstallLogName = "uninstall.dat";

class CInstallLog
{
public:
    // An empty list that is known to be complete: nothing was created.
    void Clear();
    // Marks the list as lost: removal then falls back to removing the whole recorded folders.
    void SetUnknown();
    bool IsKnown() const { return m_bKnown; }

    void AddFolder(const std::string& strPath) { m_folders.push_back(strPath); }
    void AddFile(const std::string& strPath) { m_files.push_back(strPath); }
    // Adds strPath as a file of this run unless something of that name exists already.
    void AddFileIfNew(const std::string& strPath);

    // In the order of creation: a folder always comes after its parent.
    const std::vector<std::string>& Folders() const { return m_folders; }
    const std::vector<std::string>& Files() const { return m_files; }

    bool Save(const std::string& strPath) const;
    // Reads a list that Save wrote; anything else leaves the list unknown.
    bool Load(const std::string& strPath);

    std::string Format() const;
    bool Parse(const std::string& strText);

private:
    bool m_bKnown = true;
    std::vector<std::string> m_folders;
    std::vector<std::string> m_files;
};
