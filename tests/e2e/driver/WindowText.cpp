#include "WindowText.h"

#include "AnsiText.h"
#include "DriverError.h"

std::optional<std::string> TryReadWindowText(HWND hWnd, DWORD dwTimeoutMs)
{
    DWORD_PTR dwLength = 0;
    if (!SendMessageTimeoutW(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, dwTimeoutMs, &dwLength))
        return std::nullopt;

    // The length may be counted in bytes by an ANSI window: an upper bound is enough.
    std::wstring strBuffer(dwLength + 1, L'\0');
    DWORD_PTR dwCopied = 0;
    if (!SendMessageTimeoutW(hWnd, WM_GETTEXT, strBuffer.size(), reinterpret_cast<LPARAM>(&strBuffer[0]),
                             SMTO_ABORTIFHUNG, dwTimeoutMs, &dwCopied))
        return std::nullopt;
    strBuffer.resize(dwCopied < dwLength ? dwCopied : dwLength);
    return WideToAnsi(strBuffer);
}

std::string ReadWindowText(HWND hWnd, DWORD dwTimeoutMs)
{
    std::optional<std::string> strText = TryReadWindowText(hWnd, dwTimeoutMs);
    if (!strText)
        throw CDriverError("cannot read the text of window " + ReadClassName(hWnd) + " (gone or not answering)");
    return *strText;
}

void WriteWindowText(HWND hWnd, const std::string& strText, DWORD dwTimeoutMs)
{
    const std::wstring strWide = AnsiToWide(strText);
    DWORD_PTR dwResult = 0;
    if (!SendMessageTimeoutW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strWide.c_str()), SMTO_ABORTIFHUNG,
                             dwTimeoutMs, &dwResult) ||
        !dwResult)
        throw CDriverError("cannot set the text of window " + ReadClassName(hWnd) + " to \"" + strText + "\"");
}

std::string ReadWindowCaption(HWND hWnd)
{
    const int nLength = GetWindowTextLengthW(hWnd);
    if (nLength <= 0)
        return {};
    std::wstring strBuffer(static_cast<size_t>(nLength) + 1, L'\0');
    const int nCopied = GetWindowTextW(hWnd, &strBuffer[0], nLength + 1);
    strBuffer.resize(nCopied > 0 ? static_cast<size_t>(nCopied) : 0);
    return WideToAnsi(strBuffer);
}

std::string ReadClassName(HWND hWnd)
{
    char szClass[256] = {};
    const int nLength = GetClassNameA(hWnd, szClass, static_cast<int>(sizeof(szClass)));
    return std::string(szClass, nLength > 0 ? static_cast<size_t>(nLength) : 0);
}
