// Where the uninstall record of an installation lies, under HKEY_LOCAL_MACHINE.
#pragma once

constexpr const char* kUninstallKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zanto";
