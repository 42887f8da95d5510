// How quickly a window answers while its program is busy: a thread sends it WM_NULL every 10 ms
// and notes how long each answer took.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

class CResponsivenessProbe
{
public:
    explicit CResponsivenessProbe(HWND hWnd);
    ~CResponsivenessProbe();
    CResponsivenessProbe(const CResponsivenessProbe&) = delete;
    CResponsivenessProbe& operator=(const CResponsivenessProbe&) = delete;

    void Start();
    // Ends the probing; answers to messages sent at dEnd or later are not counted.
    void Stop(double dEnd);

    // The answer times in milliseconds, in the order they were sent.
    std::vector<double> AnswerTimesMs() const;

private:
    struct SSample
    {
        double dSent;
        double dAnswerMs;
    };
    void Run();

    HWND m_hWnd;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
    std::vector<SSample> m_samples;
    double m_dEnd = 0;
};
