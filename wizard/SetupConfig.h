// The rules of the setup configuration file: lines of label, colon and value.
#pragma once

#include <windows.h>

#include <string>

// Everything after the first colon, untrimmed; a line without a colon is its own value.
std::string ConfigValue(const std::string& strLine);

// A decimal byte count: leading white space, an optional sign, digits up to the first other
// character. Beyond 32 bits the count saturates at the largest one; a negative count is 0.
DWORD ParseByteCount(const std::string& strValue);

// Appends one line of the licence file and its "\r\n" to the licence text. The licence box wraps
// a line at a cost that grows with the square of its length, so a line longer than
// kLicenseLineBreak characters is broken after its last blank within that length (or at the
// length, where there is none); the box wraps rows there anyway.
constexpr size_t kLicenseLineBreak = 1024;
void AppendLicenseLine(std::string& strText, const std::string& strLine);
