#include "Polling.h"

#include <chrono>

bool WaitUntil(const std::function<bool()>& fnCondition, DWORD dwTimeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(dwTimeoutMs);
    for (;;)
    {
        if (fnCondition())
            return true;
        const Clock::time_point now = Clock::now();
        if (now >= deadline)
            return false;
        const auto msLeft = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        Sleep(msLeft < kPollIntervalMs ? static_cast<DWORD>(msLeft) : kPollIntervalMs);
    }
}
