#pragma once

#include <windows.h>

// Owns one kernel handle and closes it when it goes out of scope.
class CScopedHandle
{
public:
    CScopedHandle() = default;
    explicit CScopedHandle(HANDLE hHandle)
        : m_hHandle(hHandle)
    {
    }
    ~CScopedHandle() { Reset(); }

    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;

    HANDLE Get() const { return m_hHandle; }
    bool IsValid() const { return m_hHandle != nullptr && m_hHandle != INVALID_HANDLE_VALUE; }

    void Reset(HANDLE hHandle = nullptr)
    {
        if (IsValid())
            CloseHandle(m_hHandle);
        m_hHandle = hHandle;
    }

private:
    HANDLE m_hHandle = nullptr;
};
