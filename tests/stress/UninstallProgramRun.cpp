// The campaign's second way to remove an installation: uninstall.exe, started as Windows' list of
// programs starts it, while the setup program stays where it is.
#include "CaseRun.h"

#include "DriverError.h"
#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "UninstallRun.h"

namespace
{
constexpr const char* kUninstallTitle = "Zanto Demo";
constexpr DWORD kHandOverLimitMs = 30000;
constexpr DWORD kRemovalLimitMs = 60000;
}

bool CCaseRun::StartRecordedCommand(const char* pszValue, PROCESS_INFORMATION& process)
{
    std::string strCommand = RecordValues()[pszValue];
    if (strCommand.empty())
    {
        Count(kRecord, std::string("no ") + pszValue + " to start the uninstall program with");
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(nullptr, &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    {
        Count(kHarness, "cannot start " + strCommand);
        return false;
    }
    CloseHandle(process.hThread);
    return true;
}

bool CCaseRun::UninstallProgram()
{
    // Ends a copy that is left running and deletes what it left, once counted.
    CUninstallRun cleanup;
    PROCESS_INFORMATION process = {};
    if (!StartRecordedCommand("UninstallString", process))
        return false;
    const bool bHandedOver = WaitForSingleObject(process.hProcess, kHandOverLimitMs) == WAIT_OBJECT_0;
    if (!bHandedOver)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    if (!bHandedOver)
    {
        Count(kHang, "uninstall.exe did not hand over to its copy and end");
        return false;
    }

    const HWND hQuestion = WaitForTitledMessageBox(kUninstallTitle, DeinstallQuestion(m_bEnglish), kHandOverLimitMs);
    if (hQuestion == nullptr)
    {
        Count(kHang, "the uninstall program did not ask its question");
        return false;
    }
    AnswerMessageBox(hQuestion, IDYES);

    // Its end: the closing message, or the box of what stopped it.
    const std::string strRemoved = m_bEnglish ? "Zanto Demo was removed from your computer."
                                              : "Zanto Demo wurde von Ihrem Computer entfernt.";
    HWND hEnd = nullptr;
    std::string strEnd;
    WaitUntil(
        [&] {
            for (const HWND hBox : ListMessageBoxesTitled(kUninstallTitle))
            {
                if (hBox == hQuestion)
                    continue;
                try
                {
                    strEnd = ReadMessageBoxText(hBox);
                    hEnd = hBox;
                    return true;
                }
                catch (const CDriverError&)
                {
                }
            }
            return false;
        },
        kRemovalLimitMs);
    if (hEnd == nullptr)
    {
        Count(kHang, "the uninstall program's removal did not end");
        return false;
    }
    if (strEnd != strRemoved)
        m_boxes.push_back({hEnd, ClassifyBoxText(strEnd), strEnd, IDOK, std::string()});
    AnswerMessageBox(hEnd, IDOK);
    if (!cleanup.WaitForCopyGone())
        Count(kLeftover, "the uninstall program's copy stayed in the temporary folder");
    return strEnd == strRemoved;
}
