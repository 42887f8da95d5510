#include "RegistryKey.h"

LONG CRegistryKey::Open(HKEY hRoot, const char* pszPath, REGSAM samAccess)
{
    HKEY hKey = nullptr;
    const LONG nResult = RegOpenKeyExA(hRoot, pszPath, 0, samAccess, &hKey);
    m_hKey.reset(nResult == ERROR_SUCCESS ? hKey : nullptr);
    return nResult;
}

LONG CRegistryKey::Create(HKEY hRoot, const char* pszPath)
{
    HKEY hKey = nullptr;
    const LONG nResult = RegCreateKeyExA(hRoot, pszPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                         nullptr, &hKey, nullptr);
    m_hKey.reset(nResult == ERROR_SUCCESS ? hKey : nullptr);
    return nResult;
}

LONG CRegistryKey::QueryString(char* pszBuffer, const char* pszName, DWORD& nSize) const
{
    const DWORD nCapacity = nSize;
    nSize = 0;
    if (nCapacity == 0)
        return ERROR_MORE_DATA;
    pszBuffer[0] = '\0';
    if (!m_hKey)
        return ERROR_INVALID_HANDLE;

    DWORD dwType = 0;
    DWORD nBytes = nCapacity;
    LONG nResult = RegQueryValueExA(m_hKey.get(), pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(pszBuffer),
                                    &nBytes);
    if (nResult == ERROR_SUCCESS && dwType != REG_SZ && dwType != REG_EXPAND_SZ && dwType != REG_MULTI_SZ)
        nResult = ERROR_INVALID_DATA;
    // A value stored without its terminating zero gets one, if there is room for it.
    if (nResult == ERROR_SUCCESS && (nBytes == 0 || pszBuffer[nBytes - 1] != '\0'))
    {
        if (nBytes < nCapacity)
            pszBuffer[nBytes++] = '\0';
        else
            nResult = ERROR_MORE_DATA;
    }
    if (nResult != ERROR_SUCCESS)
    {
        pszBuffer[0] = '\0';
        return nResult;
    }
    nSize = nBytes;
    return ERROR_SUCCESS;
}

LONG CRegistryKey::SetString(const char* pszText, const char* pszName) const
{
    if (!m_hKey)
        return ERROR_INVALID_HANDLE;
    return RegSetValueExA(m_hKey.get(), pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszText),
                          static_cast<DWORD>(lstrlenA(pszText) + 1));
}

LONG CRegistryKey::SetDword(DWORD nValue, const char* pszName) const
{
    if (!m_hKey)
        return ERROR_INVALID_HANDLE;
    return RegSetValueExA(m_hKey.get(), pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&nValue), sizeof(nValue));
}

LONG CRegistryKey::DeleteTree(HKEY hParent, const char* pszPath)
{
    if (pszPath == nullptr || pszPath[0] == '\0')
        return ERROR_INVALID_PARAMETER;

    CUniqueRegKey hKey;
    LONG nResult = RegOpenKeyExA(hParent, pszPath, 0, KEY_READ | KEY_WRITE, hKey.put());
    if (nResult != ERROR_SUCCESS)
        return nResult;

    char szSubKey[256];
    DWORD nSubKeySize = sizeof(szSubKey);
    while (RegEnumKeyExA(hKey.get(), 0, szSubKey, &nSubKeySize, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS)
    {
        nResult = DeleteTree(hKey.get(), szSubKey);
        if (nResult != ERROR_SUCCESS)
            return nResult;
        nSubKeySize = sizeof(szSubKey);
    }
    hKey.reset();
    return RegDeleteKeyA(hParent, pszPath);
}
