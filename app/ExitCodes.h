// The exit codes of a run, for the scripts and deployment tools that start it.
#pragma once

// Installed, or installed already; removed.
constexpr int kExitSuccess = 0;
// Could not start: a medium file, a switch or value, a folder, room, another setup at work.
constexpr int kExitNotStarted = 1;
// The work failed and was undone; for the removal, a file could not be removed.
constexpr int kExitFailed = 4;
// Cancelled and undone.
constexpr int kExitCancelled = 5;

// How a run of the setup program with that code ended, for the last line of its log.
inline const char* SetupResultText(int nExitCode)
{
    switch (nExitCode)
    {
    case kExitSuccess:
        return "success";
    case kExitFailed:
        return "the installation failed and was undone";
    case kExitCancelled:
        return "the installation was cancelled and undone";
    default:
        return "the run could not start";
    }
}
