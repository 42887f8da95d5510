#include "MessageBoxIcon.h"

#include "DriverError.h"
#include "GdiHandles.h"
#include "Polling.h"
#include "ScreenCapture.h"
#include "WindowText.h"

namespace
{

struct SCandidate
{
    EMessageBoxIcon m_eIcon;
    LPCSTR m_pszResource;
};

const SCandidate g_aCandidates[] = {
    {EMessageBoxIcon::Stop, IDI_HAND},
    {EMessageBoxIcon::Question, IDI_QUESTION},
    {EMessageBoxIcon::Exclamation, IDI_EXCLAMATION},
    {EMessageBoxIcon::Information, IDI_ASTERISK},
};

// Share of the icon's opaque pixels allowed to differ, for antialiased edges
// blended over a background that is not exactly the one drawn here.
constexpr double kMaxMismatch = 0.05;

HWND FindIconControl(HWND hBox)
{
    for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
    {
        const DWORD dwStyle = static_cast<DWORD>(GetWindowLongW(hChild, GWL_STYLE));
        if (ReadClassName(hChild) == "Static" && (dwStyle & SS_TYPEMASK) == SS_ICON && (dwStyle & WS_VISIBLE))
            return hChild;
    }
    return nullptr;
}

SPixelImage RenderIcon(HICON hIcon, int nWidth, int nHeight, DWORD dwBackgroundRop)
{
    const CScreenDC screen;
    const CMemoryDC memory(screen.Get());
    const CGdiBitmap bitmap(screen.Get(), nWidth, nHeight);
    if (!screen.Get() || !memory.Get() || !bitmap.Get())
        throw CDriverError("cannot allocate a bitmap to draw an icon");
    {
        const CSelectObject select(memory.Get(), bitmap.Get());
        PatBlt(memory.Get(), 0, 0, nWidth, nHeight, dwBackgroundRop);
        DrawIconEx(memory.Get(), 0, 0, hIcon, nWidth, nHeight, 0, nullptr, DI_NORMAL);
    }
    return ReadBitmapPixels(bitmap.Get(), nWidth, nHeight);
}

// Share of the icon's opaque pixels (same on black and on white) that differ on screen.
double Mismatch(const SPixelImage& screen, HICON hIcon)
{
    const SPixelImage onBlack = RenderIcon(hIcon, screen.m_nWidth, screen.m_nHeight, BLACKNESS);
    const SPixelImage onWhite = RenderIcon(hIcon, screen.m_nWidth, screen.m_nHeight, WHITENESS);
    size_t nOpaque = 0;
    size_t nDiffering = 0;
    for (size_t i = 0; i < screen.m_vecPixels.size(); ++i)
    {
        if (onBlack.m_vecPixels[i] != onWhite.m_vecPixels[i])
            continue;
        ++nOpaque;
        if (onBlack.m_vecPixels[i] != screen.m_vecPixels[i])
            ++nDiffering;
    }
    return nOpaque ? static_cast<double>(nDiffering) / static_cast<double>(nOpaque) : 1.0;
}

// The standard icon the control shows on screen now, Unknown if none fits.
EMessageBoxIcon MatchIcon(HWND hIconControl)
{
    RECT rc = {};
    if (!GetWindowRect(hIconControl, &rc))
        throw CDriverError("the message box icon is gone");
    const SPixelImage screen = CaptureScreenRect(rc);

    EMessageBoxIcon eBest = EMessageBoxIcon::Unknown;
    double dBest = kMaxMismatch;
    for (const SCandidate& candidate : g_aCandidates)
    {
        const double dMismatch = Mismatch(screen, LoadIconA(nullptr, candidate.m_pszResource));
        if (dMismatch <= dBest)
        {
            dBest = dMismatch;
            eBest = candidate.m_eIcon;
        }
    }
    return eBest;
}

} // namespace

EMessageBoxIcon ReadMessageBoxIcon(HWND hBox, DWORD dwTimeoutMs)
{
    // A box without icon may have no icon control or one holding no icon;
    // the handle, meaningless here, still tells which.
    HWND hIconControl = FindIconControl(hBox);
    DWORD_PTR dwIcon = 0;
    if (!hIconControl)
        return EMessageBoxIcon::None;
    if (!SendMessageTimeoutW(hIconControl, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, dwTimeoutMs, &dwIcon))
        throw CDriverError("the message box icon control does not answer");
    if (!dwIcon)
        return EMessageBoxIcon::None;

    EMessageBoxIcon eFound = EMessageBoxIcon::Unknown;
    WaitUntil(
        [&] {
            eFound = MatchIcon(hIconControl);
            return eFound != EMessageBoxIcon::Unknown;
        },
        dwTimeoutMs);
    return eFound;
}

const char* MessageBoxIconName(EMessageBoxIcon eIcon)
{
    switch (eIcon)
    {
    case EMessageBoxIcon::None:
        return "none";
    case EMessageBoxIcon::Stop:
        return "stop";
    case EMessageBoxIcon::Question:
        return "question";
    case EMessageBoxIcon::Exclamation:
        return "exclamation";
    case EMessageBoxIcon::Information:
        return "information";
    case EMessageBoxIcon::Unknown:
        break;
    }
    return "unknown";
}
