#include "Planted.h"

#include <windows.h>

#include "DriverError.h"
#include "SetupSession.h"

namespace
{
std::string Extension(const std::string& strName)
{
    return strName.substr(strName.find_last_of('.') + 1);
}
}

const std::vector<std::string>& LibraryNamesLoadedByName()
{
    // Seen with WINEDEBUG=+loaddll in an installation, its Deinstall and the uninstall program's
    // run, and the names that Windows' own libraries are known to load by name.
    static const std::vector<std::string> s_names = {
        "actxprxy.dll",  "advapi32.dll", "cabinet.dll",  "combase.dll",  "comctl32.dll",  "cryptbase.dll",
        "dwmapi.dll",    "gdi32.dll",    "imm32.dll",    "msimg32.dll",  "ole32.dll",     "oleaut32.dll",
        "propsys.dll",   "rpcrt4.dll",   "sechost.dll",  "setupapi.dll", "shcore.dll",    "shell32.dll",
        "shlwapi.dll",   "ucrtbase.dll", "user32.dll",   "uxtheme.dll",  "version.dll",   "win32u.dll",
        "windowscodecs.dll", "zlib1.dll",
    };
    return s_names;
}

const std::vector<std::string>& CommandNamesWithExtensions()
{
    static const std::vector<std::string> s_names = [] {
        std::vector<std::string> names;
        for (const char* pszCommand : {"ping", "cmd", "del"})
            for (const char* pszExtension : {"exe", "com", "bat", "cmd"})
                names.push_back(std::string(pszCommand) + "." + pszExtension);
        return names;
    }();
    return s_names;
}

CPlantedFiles::CPlantedFiles(const std::string& strFolder, bool bCommands)
    : CPlantedFiles(strFolder, LibraryNamesLoadedByName(), bCommands)
{
}

CPlantedFiles::CPlantedFiles(const std::string& strFolder, const std::vector<std::string>& libraryNames,
                             bool bCommands)
{
    const std::string strLibrary = HostPath("ZANTO_MARKER_LIBRARY");
    for (const std::string& strName : libraryNames)
        Plant(strLibrary, strFolder + "\\" + strName);
    if (!bCommands)
        return;
    const std::string strProgram = HostPath("ZANTO_MARKER_PROGRAM");
    for (const std::string& strName : CommandNamesWithExtensions())
    {
        const std::string strExtension = Extension(strName);
        if (strExtension == "bat" || strExtension == "cmd")
            PlantScript(strFolder + "\\" + strName);
        else
            Plant(strProgram, strFolder + "\\" + strName);
    }
}

CPlantedFiles::CPlantedFiles(const std::string& strProgramPath)
{
    Plant(HostPath("ZANTO_MARKER_PROGRAM"), strProgramPath);
}

CPlantedFiles::~CPlantedFiles()
{
    for (const std::string& strPath : m_planted)
    {
        DeleteFileA(strPath.c_str());
        DeleteFileA((strPath + ".marker").c_str());
    }
}

std::vector<std::string> CPlantedFiles::Ran() const
{
    std::vector<std::string> ran;
    for (const std::string& strPath : m_planted)
        if (FileExists(strPath + ".marker"))
            ran.push_back(strPath);
    return ran;
}

void CPlantedFiles::Plant(const std::string& strSource, const std::string& strPath)
{
    if (!CopyFileA(strSource.c_str(), strPath.c_str(), TRUE))
        throw CDriverError("cannot plant " + strPath + ": error " + std::to_string(GetLastError()));
    m_planted.push_back(strPath);
}

void CPlantedFiles::PlantScript(const std::string& strPath)
{
    if (FileExists(strPath))
        throw CDriverError("cannot plant " + strPath + ": a file of that name is there");
    WriteTextFile(strPath, "@echo off\r\necho planted> \"%~f0.marker\"\r\n");
    m_planted.push_back(strPath);
}
