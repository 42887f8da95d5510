// cab_floor CABINET DEST [pass]: the least an installer can do with a cabinet. Extracts CABINET into
// DEST with SetupIterateCabinetA and nothing else, making the folders that the member names need.
// With "pass", every file also costs what keeping a window alive costs: one SendMessage to a
// window of this program and one PeekMessage pass over its queue. Prints the seconds that
// SetupIterateCabinetA took; exits with 1 when a file could not be written.
#include <windows.h>
#include <setupapi.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace
{
constexpr UINT kProgressMessage = WM_APP + 1;

struct SFloor
{
    std::string strDest;
    std::string strLastFolder;
    HWND hWnd = nullptr;
    UINT nError = NO_ERROR;
    unsigned nFiles = 0;
};

// Every level below the drive; levels that exist already are fine.
bool MakeFolders(const std::string& strFolder)
{
    for (size_t nPos = strFolder.find('\\', 3); ; nPos = strFolder.find('\\', nPos + 1))
    {
        const std::string strLevel = strFolder.substr(0, nPos);
        if (!CreateDirectoryA(strLevel.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        if (nPos == std::string::npos)
            return true;
    }
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

UINT OnFileInCabinet(SFloor& floor, FILE_IN_CABINET_INFO_A& info)
{
    const std::string strTarget = floor.strDest + "\\" + info.NameInCabinet;
    if (strTarget.size() >= sizeof(info.FullTargetName))
    {
        floor.nError = ERROR_FILENAME_EXCED_RANGE;
        return FILEOP_ABORT;
    }
    const std::string strFolder = strTarget.substr(0, strTarget.rfind('\\'));
    if (strFolder != floor.strLastFolder)
    {
        if (!MakeFolders(strFolder))
        {
            floor.nError = GetLastError();
            return FILEOP_ABORT;
        }
        floor.strLastFolder = strFolder;
    }
    std::memcpy(info.FullTargetName, strTarget.c_str(), strTarget.size() + 1);
    if (floor.hWnd != nullptr)
    {
        SendMessageA(floor.hWnd, kProgressMessage, reinterpret_cast<WPARAM>(&info), 0);
        PumpMessages();
    }
    return FILEOP_DOIT;
}

UINT CALLBACK CabinetCallback(PVOID pContext, UINT nNotification, UINT_PTR nParam1, UINT_PTR)
{
    SFloor& floor = *static_cast<SFloor*>(pContext);
    switch (nNotification)
    {
    case SPFILENOTIFY_FILEINCABINET:
        return OnFileInCabinet(floor, *reinterpret_cast<FILE_IN_CABINET_INFO_A*>(nParam1));
    case SPFILENOTIFY_FILEEXTRACTED:
    {
        const UINT nError = reinterpret_cast<const FILEPATHS_A*>(nParam1)->Win32Error;
        if (nError != NO_ERROR && floor.nError == NO_ERROR)
            floor.nError = nError;
        ++floor.nFiles;
        return NO_ERROR;
    }
    case SPFILENOTIFY_NEEDNEWCABINET:
        floor.nError = ERROR_INVALID_PARAMETER;
        return ERROR_INVALID_PARAMETER;
    default:
        return NO_ERROR;
    }
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == kProgressMessage)
        return 0;
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

// A plain visible window, as an installer has one on screen while it works.
HWND CreateOwnWindow()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "CabFloorWindow";
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowExA(0, wc.lpszClassName, "cab_floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400,
                                200, nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(hWnd);
    PumpMessages();
    return hWnd;
}
}

int main(int argc, char* argv[])
{
    if (argc < 3 || argc > 4 || (argc == 4 && std::strcmp(argv[3], "pass") != 0))
    {
        std::fprintf(stderr, "usage: cab_floor CABINET DEST [pass]\n");
        return 2;
    }
    SFloor floor;
    floor.strDest = argv[2];
    if (argc == 4)
        floor.hWnd = CreateOwnWindow();
    if (!MakeFolders(floor.strDest))
    {
        std::fprintf(stderr, "cab_floor: cannot create %s: error %lu\n", argv[2], GetLastError());
        return 1;
    }

    LARGE_INTEGER nFrequency, nStart, nEnd;
    QueryPerformanceFrequency(&nFrequency);
    QueryPerformanceCounter(&nStart);
    const BOOL bDone = SetupIterateCabinetA(argv[1], 0, CabinetCallback, &floor);
    QueryPerformanceCounter(&nEnd);

    if (!bDone || floor.nError != NO_ERROR)
    {
        std::fprintf(stderr, "cab_floor: extraction of %s failed: error %lu\n", argv[1],
                     floor.nError != NO_ERROR ? static_cast<unsigned long>(floor.nError) : GetLastError());
        return 1;
    }
    std::printf("%.4f %u\n", static_cast<double>(nEnd.QuadPart - nStart.QuadPart) / nFrequency.QuadPart, floor.nFiles);
    return 0;
}
