// Creates the missing folders along a path.
#pragma once

#include <windows.h>

class CInstallLog;

// Creates every missing folder of pszPathName up to its last backslash; the part after it is
// never created, so a file's path makes its folders and a path ending in "\\" its last folder
// too. The part before the first backslash (a drive) is left alone. Returns 0, or the Win32
// error of the first folder that cannot be created. A path without a backslash creates nothing;
// one that does not fit MAX_PATH is refused with ERROR_FILENAME_EXCED_RANGE. Each folder is added
// to pLog, when one is given, before it is created.
UINT CreatePath(const char* pszPathName, CInstallLog* pLog = nullptr);
