#include "Progress.h"

#include <windows.h>
#include <setupapi.h>

#include <cstddef>
#include <climits>
#include <cstring>

#include "TextFormat.h"
#include "Trace.h"
#include "ZantoSetupDlg.h"

// The progress message carries SetupAPI's own record; its layout must be the one SetupAPI writes.
#ifdef _WIN64
static_assert(offsetof(FILE_IN_CABINET_INFO_A, FullTargetName) == 22, "the 64-bit SetupAPI record is naturally aligned");
#else
static_assert(offsetof(FILE_IN_CABINET_INFO_A, FullTargetName) == 18, "the 32-bit SetupAPI record is byte-packed");
#endif

int g_nLastSlide = -1;

namespace
{
// The record being reported; none outside SendProgress.
const FILE_IN_CABINET_INFO_A* g_pReportedInfo = nullptr;
}

void SendProgress(HWND hDialog, FILE_IN_CABINET_INFO_A& info, DWORD nPercent)
{
    g_pReportedInfo = &info;
    SendMessageA(hDialog, WM_MYSETROGRESS, reinterpret_cast<WPARAM>(&info), static_cast<LPARAM>(nPercent));
    g_pReportedInfo = nullptr;
}

bool IsOwnProgressReport(WPARAM wParam)
{
    // A message that another thread or program sends is received with InSendMessage set.
    return g_pReportedInfo != nullptr && wParam == reinterpret_cast<WPARAM>(g_pReportedInfo) && !InSendMessage();
}

int SlideIndex(int nPercent, int nSlides)
{
    // In 64 bits, so that no percentage overflows the product.
    const long long nIndex = static_cast<long long>(nPercent) * nSlides / 100;
    if (nIndex > INT_MAX)
        return INT_MAX;
    if (nIndex < INT_MIN)
        return INT_MIN;
    return static_cast<int>(nIndex);
}

LRESULT CZantoSetupDlg::OnMySetProgress(WPARAM wParam, LPARAM lParam)
{
    const auto* pInfo = reinterpret_cast<const FILE_IN_CABINET_INFO_A*>(wParam);
    const DWORD dwNow = m_pfnTickCount();
    if (pInfo->FileSize >= kNamedFileSize || dwNow - m_dwStatusShown >= kStatusFrameMs)
    {
        const std::string strTarget(pInfo->FullTargetName, strnlen(pInfo->FullTargetName, MAX_PATH));
        SetDlgItemText(IDC_STATUS, FormatText(Text("Copy file:\n%s", "Kopiere Datei:\n%s"), strTarget.c_str()));
        m_dwStatusShown = dwNow;
    }

    const int nPercent = static_cast<int>(lParam);
    m_progress.SetPos(nPercent);
    // The percentage changes a hundred times in an installation; the same text is not painted
    // again. Nothing else writes it, so the value shown last is known without asking the control.
    if (nPercent != m_nShownPercent)
    {
        SetDlgItemText(IDC_PERCENT, FormatText("%d%%", nPercent));
        m_nShownPercent = nPercent;
    }

    const int nSlides = static_cast<int>(m_slides.size());
    const int nSlide = SlideIndex(nPercent, nSlides);
    if (nSlide > g_nLastSlide && nSlide < nSlides)
    {
        g_nLastSlide = nSlide;
        Trace("Load Pic %d\n", nSlide);
        m_picture.LoadFile(m_slides[static_cast<size_t>(nSlide)].c_str());
        Invalidate(true);
    }
    return 0;
}

bool CZantoSetupDlg::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MYSETROGRESS)
        Trace("WM_MYSETROGRESS\n");
    return CDialog::PreTranslateMessage(pMsg);
}
