#include "RegistryKey.h"
#include "UninstallRecord.h"

bool UninstallRecordExists()
{
    CRegistryKey key;
    return key.Open(HKEY_LOCAL_MACHINE, kUninstallKeyPath, KEY_READ) == ERROR_SUCCESS;
}

void RemoveUninstallRecord()
{
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kUninstallKeyPath, KEY_READ) != ERROR_SUCCESS)
        return;
    key.Close();
    CRegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
}
