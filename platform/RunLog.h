// The log of one run that /LOG asks for: plain text, one line per event, each beginning with the
// local time to the millisecond. Lines are collected in memory and written in large pieces, so
// that a run with a log is not slower than one without.
#pragma once

#include <windows.h>

#include <string>

// "2026-12-11 09:30:00.123"
std::string LogTimeStamp(const SYSTEMTIME& time);

// One line of the log: the time stamp, a blank, the event and CR LF. Line breaks inside the event
// become blanks, so that every event stays one line.
std::string LogLine(const SYSTEMTIME& time, const std::string& strEvent);

// Opens the log file, replacing one that is there or, with bAppend, writing on at its end; false
// with the Win32 error set when it cannot be written. Without this call every event below is dropped.
bool OpenRunLog(const std::string& strPath, bool bAppend = false);
// Writes what is collected and closes the file, for another process to write on.
void CloseRunLog();
bool IsRunLogOpen();

void LogEvent(const char* pszFormat, ...) __attribute__((format(ms_printf, 1, 2)));
// A failure with the Windows error code and its text.
void LogFailure(const std::string& strWhat, DWORD dwError);
// Writes what is collected; the log stays open. Runs by itself at process exit.
void FlushRunLog();

// The last line: how the run ended and its exit code.
void LogResult(const char* pszResult, int nExitCode);
