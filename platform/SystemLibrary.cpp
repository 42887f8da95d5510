#include "SystemLibrary.h"

#include <string>

namespace
{
// Not in every SDK's headers for Windows 7.
constexpr DWORD kSearchSystem32 = 0x00000800;    // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD kSafeSearchMode = 0x00000001;    // BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE
constexpr DWORD kPermanentSearch = 0x00008000;   // BASE_SEARCH_PATH_PERMANENT

FARPROC KernelFunction(const char* pszName)
{
    // kernel32 is loaded in every process before the program's first line.
    const HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    return hKernel != nullptr ? GetProcAddress(hKernel, pszName) : nullptr;
}
}

void RestrictLibrarySearch()
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    using SetSearchPathModeFunction = BOOL(WINAPI*)(DWORD);
    // Windows 7 without its security update lacks SetDefaultDllDirectories; there the current
    // folder at least leaves the search.
    const auto pSetDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void (*)()>(KernelFunction("SetDefaultDllDirectories")));
    if (pSetDefault == nullptr || !pSetDefault(kSearchSystem32))
        SetDllDirectoryA("");
    // SearchPath, which CreateProcess without a full name uses, then looks in the current folder last.
    const auto pSetSearchPathMode = reinterpret_cast<SetSearchPathModeFunction>(
        reinterpret_cast<void (*)()>(KernelFunction("SetSearchPathMode")));
    if (pSetSearchPathMode != nullptr)
        pSetSearchPathMode(kSafeSearchMode | kPermanentSearch);
}

HMODULE LoadSystemLibrary(const char* pszName)
{
    char szSystem[MAX_PATH];
    const UINT nLength = GetSystemDirectoryA(szSystem, sizeof(szSystem));
    if (nLength == 0 || nLength >= sizeof(szSystem))
        return nullptr;
    // Never freed: the functions taken from it are used until the process ends.
    return LoadLibraryA((std::string(szSystem) + "\\" + pszName).c_str());
}
