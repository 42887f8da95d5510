#include "WorkProbe.h"

#include <commctrl.h>

#include "BenchWizard.h"
#include "resource.h"

namespace
{
// Fine against steps of ten milliseconds and more, and one read costs the program a few
// microseconds at its next message pass.
constexpr DWORD kPollMs = 2;
constexpr UINT kAnswerTimeoutMs = 60000;
const char* const kCopyText = "Copy file:\n";
const char* const kMenuText = "Creating startmenu entries ...";
const char* const kRecordText = "Creating registry entries ...";
const char* const kFinishedText = "Installation finished.";
}

CWorkProbe::CWorkProbe(HWND hMain, const std::string& strInstallDir, const std::vector<std::string>& astrLanguageFiles)
    : m_hStatus(GetDlgItem(hMain, IDC_STATUS)),
      m_hProgress(GetDlgItem(hMain, IDC_PROGRESS)),
      m_strCopyPrefix(kCopyText)
{
    for (const std::string& strFile : astrLanguageFiles)
        m_astrLanguageTexts.insert(m_strCopyPrefix + strInstallDir + "\\" + strFile);
}

CWorkProbe::~CWorkProbe()
{
    if (m_thread.joinable())
        Stop();
}

void CWorkProbe::Start()
{
    m_thread = std::thread([this] { Run(); });
}

void CWorkProbe::Stop()
{
    m_bStop = true;
    m_thread.join();
}

CWorkProbe::EStep CWorkProbe::StepOf(const std::string& strStatus) const
{
    if (strStatus == kFinishedText)
        return kFinished;
    if (strStatus == kMenuText || strStatus == kRecordText)
        return kMenu;
    // Before the first file the line holds what the page showed; the language tree's files
    // come first and are named by their targets.
    if (strStatus.compare(0, m_strCopyPrefix.size(), m_strCopyPrefix) != 0 || m_astrLanguageTexts.count(strStatus) != 0)
        return kLanguageTree;
    return kCabinet;
}

void CWorkProbe::Run()
{
    while (!m_bStop)
    {
        char szStatus[1024] = {};
        DWORD_PTR nResult = 0;
        if (SendMessageTimeoutA(m_hStatus, WM_GETTEXT, sizeof(szStatus), reinterpret_cast<LPARAM>(szStatus),
                                SMTO_NORMAL, kAnswerTimeoutMs, &nResult) == 0)
            return;
        const EStep step = StepOf(szStatus);
        // The bar is full either by the last file's report or after the record; the work is done
        // when both show the end.
        DWORD_PTR nPos = 0;
        if (step == kFinished &&
            SendMessageTimeoutA(m_hProgress, PBM_GETPOS, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs, &nPos) == 0)
            return;
        const double dAnswered = Now();
        if (step >= kCabinet && m_dCabinet == 0)
            m_dCabinet = dAnswered;
        if (step >= kMenu && m_dMenu == 0)
            m_dMenu = dAnswered;
        if (step == kFinished && nPos == 100)
        {
            m_dFinished = dAnswered;
            return;
        }
        Sleep(kPollMs);
    }
}
