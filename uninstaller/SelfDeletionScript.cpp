#include "SelfDeletionScript.h"

std::string SelfDeletionScript(const std::string& strCopy)
{
    const std::string strQuoted = "\"" + strCopy + "\"";
    // A loop of labels and gotos, without parenthesised blocks: Wine's cmd takes the ")" behind a
    // redirection in a block for part of a file name. ping is the pause that every Windows has in
    // a batch file; two echoes are a second apart.
    return "@echo off\r\n"
           "set n=0\r\n"
           ":retry\r\n"
           "del " + strQuoted + " >nul 2>&1\r\n"
           "if not exist " + strQuoted + " goto done\r\n"
           "set /a n=n+1\r\n"
           "if %n% geq 30 goto done\r\n"
           "ping -n 2 127.0.0.1 >nul\r\n"
           "goto retry\r\n"
           ":done\r\n"
           "del \"%~f0\"\r\n";
}
