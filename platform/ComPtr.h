// Owner of one COM interface reference; released on every path.
#pragma once

#include <unknwn.h>

template <typename TInterface>
class CComPtr
{
public:
    CComPtr() noexcept = default;
    ~CComPtr() { reset(); }

    CComPtr(CComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        if (this != &other)
        {
            reset();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }
    CComPtr(const CComPtr&) = delete;
    CComPtr& operator=(const CComPtr&) = delete;

    TInterface* get() const noexcept { return m_p; }
    TInterface* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }

    // The raw slot for a call that hands out a reference; a reference held before is released.
    TInterface** put() noexcept
    {
        reset();
        return &m_p;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    void reset() noexcept
    {
        if (m_p)
        {
            m_p->Release();
            m_p = nullptr;
        }
    }

private:
    TInterface* m_p = nullptr;
};
