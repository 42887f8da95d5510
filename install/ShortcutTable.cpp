#include "Shortcuts.h"

const SShortcut g_aShortcuts[5] = {
    {"%s%s\\Deinstall Zanto.lnk", "%s%s\\Zanto deinstallieren.lnk", "%s\\uninstall.exe", "%s\\uninstall.exe"},
    {"%s%s\\Play Zanto.lnk", "%s%s\\Zanto spielen.lnk", "%s\\Zanto Demo.exe", "%s\\Zanto Demo.exe"},
    {"%s%s\\Readme.txt.lnk", "%s%s\\Liesmich.txt.lnk", "%s\\readme.txt", "%s\\liesmich.txt"},
    {"%s%s\\Homepage.lnk", "%s%s\\Homepage.lnk", nullptr, nullptr},
    {"%s%s\\Options.lnk", "%s%s\\Einstellungen.lnk", "%s\\settings.exe", "%s\\settings.exe"},
};
