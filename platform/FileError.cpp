#include "FileError.h"

#include "MessageBox.h"

int CFileError::ReportError() const
{
    return AppMessageBox(Text().c_str(), MB_OK | MB_ICONSTOP);
}
