// Libraries and programs of a stranger's, planted where the setup and uninstall programs must
// never look for one: each leaves a ".marker" file beside itself when it runs.
#pragma once

#include <string>
#include <vector>

// The libraries that the programs' own libraries load by name while they run, as
// WINEDEBUG=+loaddll shows them, and the names Windows' libraries are known to load so.
const std::vector<std::string>& LibraryNamesLoadedByName();

// The commands a batch file or a careless program starts by a bare name, with every extension
// that Windows runs.
const std::vector<std::string>& CommandNamesWithExtensions();

class CPlantedFiles
{
public:
    // Plants the marker library under every name of LibraryNamesLoadedByName in strFolder, and
    // with bCommands the marker program or a marker batch file under every command name.
    CPlantedFiles(const std::string& strFolder, bool bCommands);
    // As above, with the libraries under the names given.
    CPlantedFiles(const std::string& strFolder, const std::vector<std::string>& libraryNames, bool bCommands);
    // Plants the marker program as strPath alone.
    explicit CPlantedFiles(const std::string& strProgramPath);
    ~CPlantedFiles();
    CPlantedFiles(const CPlantedFiles&) = delete;
    CPlantedFiles& operator=(const CPlantedFiles&) = delete;

    const std::vector<std::string>& Paths() const { return m_planted; }
    // The planted files that ran: those with a marker beside them.
    std::vector<std::string> Ran() const;

private:
    void Plant(const std::string& strSource, const std::string& strPath);
    void PlantScript(const std::string& strPath);

    std::vector<std::string> m_planted;
};
