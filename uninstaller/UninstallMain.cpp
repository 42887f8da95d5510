// Entry point of uninstall.exe. Windows starts it from the install folder with no command line:
// it then hands over to a copy of itself in a folder of its own below the temporary folder and
// ends, so that the removal can take its file too. The copy waits for it, removes, and has its own file deleted.
#include <windows.h>

#include <cstdint>

#include "CopyArguments.h"
#include "RemovalCopy.h"
#include "SelfDeletion.h"
#include "SystemFolder.h"
#include "SystemLibrary.h"
#include "Uninstall.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR pszArguments, int)
{
    RestrictLibrarySearch();
    EnterSystemFolder();
    std::uintptr_t nOriginal = 0;
    if (ParseCopyArguments(pszArguments, nOriginal))
    {
        WaitForOriginal(nOriginal);
        Uninstall();
        DeleteSelfAfterExit();
        return 0;
    }
    // Where no copy can be made, the removal runs here; Windows then keeps this program's own
    // file, and the removal stops there with its message.
    if (!StartRemovalCopy())
        Uninstall();
    return 0;
}
