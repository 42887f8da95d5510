#include "SelfDeletionCommand.h"

std::string SelfDeletionCommand(const std::string& strCopy, const std::string& strSystemFolder)
{
    const std::string strQuoted = "\"" + strCopy + "\"";
    const std::string strFolder = "\"" + strCopy.substr(0, strCopy.find_last_of('\\')) + "\"";
    // One line without an "if" before a parenthesised block, which Wine's cmd does not run. An
    // "if" takes the rest of its line: the pause comes only while the copy is still there. ping
    // is the pause that every Windows has; two echoes are a second apart. rd and del are cmd's own.
    return "for /l %i in (1,1,30) do (rd " + strFolder + " & if exist " + strQuoted + " del " + strQuoted +
           " & if exist " + strQuoted + " \"" + strSystemFolder + "\\ping.exe\" -n 2 127.0.0.1)";
}
