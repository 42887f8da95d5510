// The places the installation writes its files to. A file of the user's that stands where the
// installation writes is renamed aside first, so that a cancel or a failure can put it back.
#pragma once

#include <string>

#include "KeptName.h"

class CInstallLog;

// Makes strTarget ready to be written: a file that the list owns is written over, a free place is
// listed as the installation's, and a file of somebody else's is listed and renamed aside. False,
// with the Win32 error set, when the entry could not be written or the file not be moved.
bool PrepareTarget(CInstallLog& log, const std::string& strTarget);

// Once the installation stands, the files it kept aside go: the installed files take their
// places for good. Kept files that an earlier, unfinished run left stay until removal puts them back.
void DropKeptFiles(CInstallLog& log);
