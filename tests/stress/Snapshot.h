// What lies in the folders around an installation, taken before and after a case, so that any
// byte written, changed or removed outside the install and start menu folders shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct SSnapEntry
{
    std::string strPath; // as found, Windows-1252
    bool bFolder = false;
    std::uint64_t nSize = 0;
    std::uint64_t nWriteTime = 0;
    DWORD dwAttributes = 0;
    std::uint64_t nHash = 0; // of the content, for files up to a few MiB
};

class CSnapshot
{
public:
    // Adds strRoot's entries: all below it, or only its own ones. Folder links are listed but never
    // entered. Paths beyond MAX_PATH are read too.
    void AddTree(const std::string& strRoot, bool bRecursive);

    // Keyed by NormalizePath.
    const std::map<std::string, SSnapEntry>& Entries() const { return m_entries; }

private:
    void Walk(const std::wstring& strFolder, const std::string& strAnsiFolder, bool bRecursive, int nDepth);

    std::map<std::string, SSnapEntry> m_entries;
};

struct SSnapDiff
{
    std::vector<std::string> added;   // there after, not before
    std::vector<std::string> removed; // there before, not after
    std::vector<std::string> changed; // a file of other size, time, attributes or content
};

SSnapDiff CompareSnapshots(const CSnapshot& before, const CSnapshot& after);

// The path with backslashes, "." and ".." resolved, no doubled or trailing separators and no
// trailing dots or blanks on a name, as Windows reads it.
std::string ResolvePath(const std::string& strPath);

// The form in which two paths compare: backslashes, "." and ".." resolved, no doubled or trailing
// separators, no trailing dots or blanks on a name (Windows drops them), lower case.
std::string NormalizePath(const std::string& strPath);

// Whether the normalized path lies in or is the normalized folder.
bool IsAtOrBelow(const std::string& strNormalizedPath, const std::string& strNormalizedFolder);

// Wide forms for paths of any length.
std::wstring LongPath(const std::string& strPath);
bool LongPathExists(const std::string& strPath);
// FNV-1a of a file's bytes; 1 when it cannot be read.
std::uint64_t HashLongFile(const std::string& strPath);
// Removes a file or folder tree of any path length, read-only entries included; never enters links.
void RemoveLongPath(const std::string& strPath);
