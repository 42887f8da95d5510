// File-system helpers shared by the unit and end-to-end tests.
#pragma once

#include <string>
#include <vector>

// Deletes a folder with everything below it, read-only files included.
void RemoveFolder(const std::string& strPath);

// Relative paths (backslashes) of every file below strFolder, sorted.
std::vector<std::string> FilesBelow(const std::string& strFolder);
// The same of every folder below strFolder.
std::vector<std::string> FoldersBelow(const std::string& strFolder);

// A path in the temporary folder that nothing uses yet; pszPrefix is the first three letters of
// its name.
std::string UniqueTempPath(const char* pszPrefix);

// A folder made for a test, removed with everything below it when the test ends.
class CScopedFolder
{
public:
    explicit CScopedFolder(const std::string& strPath);
    ~CScopedFolder() { RemoveFolder(m_strPath); }
    CScopedFolder(const CScopedFolder&) = delete;
    CScopedFolder& operator=(const CScopedFolder&) = delete;
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

// A Unix path as Wine's drive Z: shows it.
std::string UnixToWindowsPath(const std::string& strUnixPath);

// The machine's common programs folder, as the program reads it from the registry.
std::string ProgramsFolder();
