// Holder of at most one open registry key; the key is closed on every path.
#pragma once

#include <windows.h>

#include "UniqueHandle.h"

class CRegistryKey
{
public:
    // 0 when the key was opened; a key held before is closed first. Otherwise nothing is held.
    LONG Open(HKEY hRoot, const char* pszPath, REGSAM samAccess);
    // Opens the key with full access, creating it when missing.
    LONG Create(HKEY hRoot, const char* pszPath);

    // Reads a string value into pszBuffer, which holds nSize bytes. On success nSize becomes the
    // bytes stored with the terminating zero. A value that cannot be read whole (no key, no value,
    // another type, too long for the buffer) gives a non-zero result, nSize 0 and an empty buffer.
    LONG QueryString(char* pszBuffer, const char* pszName, DWORD& nSize) const;
    LONG SetString(const char* pszText, const char* pszName) const;
    LONG SetDword(DWORD nValue, const char* pszName) const;

    // Deletes pszPath under hParent with all its subkeys. An empty path is refused, so that the
    // delete can never reach the root it was given.
    static LONG DeleteTree(HKEY hParent, const char* pszPath);

    void Close() { m_hKey.reset(); }

private:
    CUniqueRegKey m_hKey;
};
