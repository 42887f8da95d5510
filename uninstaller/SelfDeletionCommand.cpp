#include "SelfDeletionCommand.h"

std::string SelfDeletionCommand(const std::string& strCopy, const std::string& strSystemFolder,
                                const std::string& strOriginal, const std::vector<std::string>& folders)
{
    const std::string strQuoted = "\"" + strCopy + "\"";
    const std::string strFolder = "\"" + strCopy.substr(0, strCopy.find_last_of('\\')) + "\"";
    const std::string strPause = " \"" + strSystemFolder + "\\ping.exe\" -n 2 127.0.0.1";
    // One line without an "if" before a parenthesised block, which Wine's cmd does not run. An
    // "if" takes the rest of its line: the pause comes only while the copy is still there. ping
    // is the pause that every Windows has; two echoes are a second apart. rd and del are cmd's own.
    std::string strCommand = "for /l %i in (1,1,30) do (rd " + strFolder + " & if exist " + strQuoted + " del " +
                             strQuoted + " & if exist " + strQuoted + strPause + ")";
    if (strOriginal.empty())
        return strCommand;
    const std::string strOriginalQuoted = "\"" + strOriginal + "\"";
    strCommand += " & for /l %j in (1,1,30) do (if exist " + strOriginalQuoted + " del " + strOriginalQuoted +
                  " & if exist " + strOriginalQuoted + strPause + ")";
    for (const std::string& strHolding : folders)
        strCommand += " & rd \"" + strHolding + "\"";
    return strCommand;
}
