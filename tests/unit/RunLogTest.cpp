#include <gtest/gtest.h>

#include <windows.h>

#include "RunLog.h"

namespace
{
SYSTEMTIME Time(WORD nYear, WORD nMonth, WORD nDay, WORD nHour, WORD nMinute, WORD nSecond, WORD nMs)
{
    SYSTEMTIME time = {};
    time.wYear = nYear;
    time.wMonth = nMonth;
    time.wDay = nDay;
    time.wHour = nHour;
    time.wMinute = nMinute;
    time.wSecond = nSecond;
    time.wMilliseconds = nMs;
    return time;
}
}

TEST(RunLogTest, EveryLineBeginsWithTheLocalTimeToTheMillisecond)
{
    EXPECT_EQ("2026-12-11 09:30:00.123", LogTimeStamp(Time(2026, 12, 11, 9, 30, 0, 123)));
    // Leading zeros everywhere, the milliseconds in three digits.
    EXPECT_EQ("2027-01-02 03:04:05.006", LogTimeStamp(Time(2027, 1, 2, 3, 4, 5, 6)));
    EXPECT_EQ("2026-12-31 23:59:59.999 File written: C:\\Zanto\\readme.txt\r\n",
              LogLine(Time(2026, 12, 31, 23, 59, 59, 999), "File written: C:\\Zanto\\readme.txt"));
}

TEST(RunLogTest, AnEventWithLineBreaksStaysOneLine)
{
    EXPECT_EQ("2026-12-11 09:30:00.000 Message: Error while extracting the cab-file !! Aborting installation !\r\n",
              LogLine(Time(2026, 12, 11, 9, 30, 0, 0),
                      "Message: Error while extracting the cab-file !!\nAborting installation !"));
    EXPECT_EQ("2026-12-11 09:30:00.000 a  b\r\n", LogLine(Time(2026, 12, 11, 9, 30, 0, 0), "a\r\nb"));
}
