// printf-style formatting into a string of any length.
#pragma once

#include <cstdarg>
#include <string>

std::string FormatText(const char* pszFormat, ...) __attribute__((format(ms_printf, 1, 2)));
std::string FormatTextV(const char* pszFormat, va_list args);
