#include "SelfDeletionScript.h"

std::string SelfDeletionScript(const std::string& strCopy, const std::string& strOriginal,
                               const std::vector<std::string>& folders)
{
    const std::string strQuoted = "\"" + strCopy + "\"";
    std::string strOriginalLines;
    std::string strFolderLines;
    if (!strOriginal.empty())
    {
        const std::string strOriginalQuoted = "\"" + strOriginal + "\"";
        strOriginalLines = "del " + strOriginalQuoted + " >nul 2>&1\r\n"
                           "if exist " + strOriginalQuoted + " goto wait\r\n";
        for (const std::string& strFolder : folders)
            strFolderLines += "rmdir \"" + strFolder + "\" >nul 2>&1\r\n";
    }
    // A loop of labels and gotos, without parenthesised blocks: Wine's cmd takes the ")" behind a
    // redirection in a block for part of a file name. ping is the pause that every Windows has in
    // a batch file; two echoes are a second apart.
    return "@echo off\r\n"
           "set n=0\r\n"
           ":retry\r\n"
           "del " + strQuoted + " >nul 2>&1\r\n" + strOriginalLines +
           "if not exist " + strQuoted + " goto done\r\n"
           ":wait\r\n"
           "set /a n=n+1\r\n"
           "if %n% geq 30 goto done\r\n"
           "ping -n 2 127.0.0.1 >nul\r\n"
           "goto retry\r\n"
           ":done\r\n" + strFolderLines +
           "del \"%~f0\"\r\n";
}
