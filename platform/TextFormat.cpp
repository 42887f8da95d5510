#include "TextFormat.h"

#include <cstdio>

// The C runtime of the system (msvcrt) formats; _vscprintf gives the exact length first.
std::string FormatTextV(const char* pszFormat, va_list args)
{
    va_list argsCopy;
    va_copy(argsCopy, args);
    const int nLength = _vscprintf(pszFormat, argsCopy);
    va_end(argsCopy);
    if (nLength <= 0)
        return std::string();

    std::string strText(static_cast<size_t>(nLength) + 1, '\0');
    _vsnprintf(&strText[0], strText.size(), pszFormat, args);
    strText.resize(static_cast<size_t>(nLength));
    return strText;
}

std::string FormatText(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    std::string strText = FormatTextV(pszFormat, args);
    va_end(args);
    return strText;
}
