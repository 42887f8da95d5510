#pragma once

#include <string>

// Tests compare Windows-1252 bytes whatever code page Wine picked for the
// test process, so conversions name that code page explicitly.
std::string WideToAnsi(const std::wstring& strWide);
std::wstring AnsiToWide(const std::string& strAnsi);
