// The rules of the setup configuration file: lines of label, colon and value.
#pragma once

#include <windows.h>

#include <string>

// Everything after the first colon, untrimmed; a line without a colon is its own value.
std::string ConfigValue(const std::string& strLine);

// A decimal byte count: leading white space, an optional sign, digits up to the first other
// character. Beyond 32 bits the count saturates at the largest one; a negative count is 0.
DWORD ParseByteCount(const std::string& strValue);
