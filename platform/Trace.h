// Diagnostic trace lines for the debugger output.
#pragma once

void Trace(const char* pszFormat, ...) __attribute__((format(ms_printf, 1, 2)));
