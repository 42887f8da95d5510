// The pictures of known content that the build makes for the tests.
#pragma once

#include <string>

#include "Folders.h"

inline std::string TestPicturePath(const char* pszName)
{
    return UnixToWindowsPath(std::string(TEST_PICTURE_DIR) + "/" + pszName);
}
