#include "Trace.h"

#include <windows.h>

#include <cstdarg>

#include "TextFormat.h"

void Trace(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    const std::string strLine = FormatTextV(pszFormat, args);
    va_end(args);
    OutputDebugStringA(strLine.c_str());
}
