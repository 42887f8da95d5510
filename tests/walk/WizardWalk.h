// One run of ZantoSetup.exe on the demo medium, driven through every page in one language
// with a screenshot of each step.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "DriverTimeouts.h"
#include "ProcessUnderTest.h"
#include "WindowDriver.h"

class CWizardWalk
{
public:
    // strMedium holds ZantoSetup.exe and is its current directory; the BMPs go to strOutput,
    // named after the language ("en-", "de-") and the step. Both are Windows paths.
    CWizardWalk(const std::string& strMedium, const std::string& strOutput, bool bEnglish);

    // Walks from the language dialog to the Quit button. Throws CDriverError naming the step
    // that did not come; the program is ended then.
    void Run();

private:
    const char* Text(const char* pszEnglish, const char* pszGerman) const { return m_bEnglish ? pszEnglish : pszGerman; }

    void ChooseLanguage();
    CWindowDriver WaitForStartPage();
    void WalkToInstallationPage(const CWindowDriver& main);
    void CancelInstallation(const CWindowDriver& main);
    void ShowAbout(const CWindowDriver& main);
    void Quit(const CWindowDriver& main);

    void Snap(HWND hWnd, const char* pszStep);
    void WaitFor(const std::string& strWhat, const std::function<bool()>& fnCondition,
                 DWORD dwTimeoutMs = kDefaultTimeoutMs);
    [[noreturn]] void Fail(const std::string& strWhat, DWORD dwTimeoutMs = kDefaultTimeoutMs);

    std::string m_strMedium;
    std::string m_strOutput;
    bool m_bEnglish;
    int m_nStep = 0;
    CProcessUnderTest m_process;
};
