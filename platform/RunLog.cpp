#include "RunLog.h"

#include <cstdarg>

#include "TextFormat.h"
#include "UniqueHandle.h"

namespace
{
// Large enough that a run of thousands of files writes only a few times.
constexpr size_t kFlushSize = 64 * 1024;

CUniqueFile g_hLogFile;
std::string g_strLogBuffer;

// At process exit the lines collected last are written too.
struct SFlushAtExit
{
    ~SFlushAtExit() { FlushRunLog(); }
} g_flushAtExit;

void AddEvent(const std::string& strEvent)
{
    if (!g_hLogFile)
        return;
    SYSTEMTIME time;
    GetLocalTime(&time);
    g_strLogBuffer += LogLine(time, strEvent);
    if (g_strLogBuffer.size() >= kFlushSize)
        FlushRunLog();
}
}

std::string LogTimeStamp(const SYSTEMTIME& time)
{
    return FormatText("%04u-%02u-%02u %02u:%02u:%02u.%03u", time.wYear, time.wMonth, time.wDay, time.wHour,
                      time.wMinute, time.wSecond, time.wMilliseconds);
}

std::string LogLine(const SYSTEMTIME& time, const std::string& strEvent)
{
    std::string strLine = LogTimeStamp(time) + " " + strEvent + "\r\n";
    for (size_t n = 0; n + 2 < strLine.size(); ++n)
        if (strLine[n] == '\r' || strLine[n] == '\n')
            strLine[n] = ' ';
    return strLine;
}

bool OpenRunLog(const std::string& strPath, bool bAppend)
{
    g_hLogFile.reset(CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 bAppend ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (bAppend)
        SetFilePointer(g_hLogFile.get(), 0, nullptr, FILE_END);
    return static_cast<bool>(g_hLogFile);
}

void CloseRunLog()
{
    FlushRunLog();
    g_hLogFile.reset();
}

void LogEvent(const char* pszFormat, ...)
{
    if (!g_hLogFile)
        return;
    va_list args;
    va_start(args, pszFormat);
    const std::string strEvent = FormatTextV(pszFormat, args);
    va_end(args);
    AddEvent(strEvent);
}

void LogFailure(const std::string& strWhat, DWORD dwError)
{
    char szText[512] = "no text";
    // Without a width limit's line breaks; the text ends in a blank, which the format leaves out.
    DWORD nLength = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                   nullptr, dwError, 0, szText, sizeof(szText), nullptr);
    while (nLength > 0 && szText[nLength - 1] == ' ')
        szText[--nLength] = '\0';
    LogEvent("Failure: %s (Windows error %lu: %s)", strWhat.c_str(), static_cast<unsigned long>(dwError), szText);
}

void FlushRunLog()
{
    if (!g_hLogFile || g_strLogBuffer.empty())
        return;
    DWORD nWritten = 0;
    // A log that stops being writable mid-run loses its lines; the run itself goes on.
    WriteFile(g_hLogFile.get(), g_strLogBuffer.data(), static_cast<DWORD>(g_strLogBuffer.size()), &nWritten, nullptr);
    g_strLogBuffer.clear();
}

bool IsRunLogOpen()
{
    return static_cast<bool>(g_hLogFile);
}

void LogResult(const char* pszResult, int nExitCode)
{
    LogEvent("Result: %s; exit code %d", pszResult, nExitCode);
}
