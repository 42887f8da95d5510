#include "AnsiText.h"

#include <windows.h>

namespace
{
constexpr UINT kAnsiCodePage = 1252;
}

std::string WideToAnsi(const std::wstring& strWide)
{
    if (strWide.empty())
        return {};
    const int nWide = static_cast<int>(strWide.size());
    const int nBytes = WideCharToMultiByte(kAnsiCodePage, 0, strWide.data(), nWide, nullptr, 0, nullptr, nullptr);
    std::string strAnsi(static_cast<size_t>(nBytes), '\0');
    WideCharToMultiByte(kAnsiCodePage, 0, strWide.data(), nWide, &strAnsi[0], nBytes, nullptr, nullptr);
    return strAnsi;
}

std::wstring AnsiToWide(const std::string& strAnsi)
{
    if (strAnsi.empty())
        return {};
    const int nBytes = static_cast<int>(strAnsi.size());
    const int nWide = MultiByteToWideChar(kAnsiCodePage, 0, strAnsi.data(), nBytes, nullptr, 0);
    std::wstring strWide(static_cast<size_t>(nWide), L'\0');
    MultiByteToWideChar(kAnsiCodePage, 0, strAnsi.data(), nBytes, &strWide[0], nWide);
    return strWide;
}
