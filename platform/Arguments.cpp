#include "Arguments.h"

namespace
{
bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}
}

bool SplitArguments(const std::string& strLine, std::vector<std::string>& arguments)
{
    arguments.clear();
    std::string strArgument;
    bool bInArgument = false;
    bool bQuoted = false;
    for (const char ch : strLine)
    {
        if (ch == '"')
        {
            bQuoted = !bQuoted;
            bInArgument = true;
        }
        else if (IsBlank(ch) && !bQuoted)
        {
            if (bInArgument)
                arguments.push_back(strArgument);
            strArgument.clear();
            bInArgument = false;
        }
        else
        {
            strArgument += ch;
            bInArgument = true;
        }
    }
    if (bInArgument)
        arguments.push_back(strArgument);
    return !bQuoted;
}

std::string ArgumentsAfterProgram(const std::string& strCommandLine)
{
    size_t nPos = 0;
    while (nPos < strCommandLine.size() && IsBlank(strCommandLine[nPos]))
        ++nPos;
    // The program's name holds no quote of its own: a quoted one ends at the next quote.
    bool bQuoted = false;
    for (; nPos < strCommandLine.size(); ++nPos)
    {
        const char ch = strCommandLine[nPos];
        if (ch == '"')
            bQuoted = !bQuoted;
        else if (IsBlank(ch) && !bQuoted)
            break;
    }
    return strCommandLine.substr(nPos);
}
