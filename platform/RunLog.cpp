#include "RunLog.h"

#include <cstdarg>

#include "TextFormat.h"
#include "UniqueHandle.h"

namespace
{
// Large enough that a run of thousands of files writes only a few times.
constexpr size_t kFlushSize = 64 * 1024;

class CRunLogFile
{
public:
    ~CRunLogFile() { Flush(); }

    bool Open(const std::string& strPath, bool bAppend)
    {
        m_hFile.reset(CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  bAppend ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (m_hFile && bAppend)
            SetFilePointer(m_hFile.get(), 0, nullptr, FILE_END);
        return static_cast<bool>(m_hFile);
    }

    void Close()
    {
        Flush();
        m_hFile.reset();
    }
    bool IsOpen() const { return static_cast<bool>(m_hFile); }

    void Add(const std::string& strEvent)
    {
        if (!m_hFile)
            return;
        SYSTEMTIME time;
        GetLocalTime(&time);
        m_strBuffer += LogLine(time, strEvent);
        if (m_strBuffer.size() >= kFlushSize)
            Flush();
    }

    void Flush()
    {
        if (!m_hFile || m_strBuffer.empty())
            return;
        DWORD nWritten = 0;
        // A log that stops being writable mid-run loses its lines; the run itself goes on.
        WriteFile(m_hFile.get(), m_strBuffer.data(), static_cast<DWORD>(m_strBuffer.size()), &nWritten, nullptr);
        m_strBuffer.clear();
    }

private:
    CUniqueFile m_hFile;
    std::string m_strBuffer;
};

CRunLogFile g_runLog;
}

std::string LogTimeStamp(const SYSTEMTIME& time)
{
    return FormatText("%04u-%02u-%02u %02u:%02u:%02u.%03u", time.wYear, time.wMonth, time.wDay, time.wHour,
                      time.wMinute, time.wSecond, time.wMilliseconds);
}

std::string LogLine(const SYSTEMTIME& time, const std::string& strEvent)
{
    std::string strLine = LogTimeStamp(time) + " " + strEvent;
    for (char& ch : strLine)
        if (ch == '\r' || ch == '\n')
            ch = ' ';
    return strLine + "\r\n";
}

bool OpenRunLog(const std::string& strPath, bool bAppend)
{
    return g_runLog.Open(strPath, bAppend);
}

void CloseRunLog()
{
    g_runLog.Close();
}

bool IsRunLogOpen()
{
    return g_runLog.IsOpen();
}

void LogEvent(const char* pszFormat, ...)
{
    if (!g_runLog.IsOpen())
        return;
    va_list args;
    va_start(args, pszFormat);
    const std::string strEvent = FormatTextV(pszFormat, args);
    va_end(args);
    g_runLog.Add(strEvent);
}

void LogFailure(const std::string& strWhat, DWORD dwError)
{
    if (!g_runLog.IsOpen())
        return;
    char szText[512] = {};
    const DWORD nLength = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwError,
                                         0, szText, sizeof(szText), nullptr);
    std::string strText(szText, nLength);
    while (!strText.empty() && (strText.back() == '\r' || strText.back() == '\n' || strText.back() == ' '))
        strText.pop_back();
    g_runLog.Add(FormatText("Failure: %s (Windows error %lu: %s)", strWhat.c_str(), static_cast<unsigned long>(dwError),
                            strText.empty() ? "no text" : strText.c_str()));
}

void FlushRunLog()
{
    g_runLog.Flush();
}

void LogResult(const char* pszResult, int nExitCode)
{
    LogEvent("Result: %s; exit code %d", pszResult, nExitCode);
}
