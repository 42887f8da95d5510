// Libraries come from the system folder only: a program that runs with the administrator's rights
// must never load a file of the same name that somebody left beside it or in its current folder.
#pragma once

#include <windows.h>

// Narrows the search for libraries to the system folder for the rest of the process. The very
// first call of each program, before anything that may load a library.
void RestrictLibrarySearch();

// A library of the system folder, loaded by its full path and kept for the process's lifetime;
// null when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* pszName);

// A function of a system library, or null.
template <typename TFunction>
TFunction SystemFunction(const char* pszLibrary, const char* pszName)
{
    const HMODULE hModule = LoadSystemLibrary(pszLibrary);
    if (hModule == nullptr)
        return nullptr;
    // GetProcAddress's generic pointer, through a plain function pointer type to the real one.
    return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(GetProcAddress(hModule, pszName)));
}
