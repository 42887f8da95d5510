#include "ResponsivenessProbe.h"

#include "BenchWizard.h"

namespace
{
constexpr double kIntervalSeconds = 0.010;
// A program that does not answer for this long counts as hung; the probe then stops waiting for it.
constexpr UINT kAnswerTimeoutMs = 60000;
}

CResponsivenessProbe::CResponsivenessProbe(HWND hWnd)
    : m_hWnd(hWnd)
{
}

CResponsivenessProbe::~CResponsivenessProbe()
{
    if (m_thread.joinable())
        Stop(Now());
}

void CResponsivenessProbe::Start()
{
    m_thread = std::thread([this] { Run(); });
}

void CResponsivenessProbe::Stop(double dEnd)
{
    m_dEnd = dEnd;
    m_bStop = true;
    m_thread.join();
}

void CResponsivenessProbe::Run()
{
    while (!m_bStop)
    {
        const double dSent = Now();
        DWORD_PTR nResult = 0;
        SendMessageTimeoutA(m_hWnd, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs, &nResult);
        const double dAnswered = Now();
        m_samples.push_back({dSent, (dAnswered - dSent) * 1000});
        // The next message goes 10 ms after this one was sent, or at once when the answer took longer.
        const double dWait = dSent + kIntervalSeconds - dAnswered;
        if (dWait > 0 && !m_bStop)
            Sleep(static_cast<DWORD>(dWait * 1000 + 0.5));
    }
}

std::vector<double> CResponsivenessProbe::AnswerTimesMs() const
{
    std::vector<double> times;
    for (const SSample& sample : m_samples)
        if (sample.dSent < m_dEnd)
            times.push_back(sample.dAnswerMs);
    return times;
}
