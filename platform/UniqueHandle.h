// Move-only owner of one Win32 handle; the traits name the empty value and the close function.
#pragma once

#include <windows.h>

template <typename THandle, typename TTraits>
class CUniqueHandle
{
public:
    CUniqueHandle() noexcept = default;
    explicit CUniqueHandle(THandle h) noexcept : m_h(h) {}
    ~CUniqueHandle() { reset(); }

    CUniqueHandle(CUniqueHandle&& other) noexcept : m_h(other.release()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;

    THandle get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return m_h != TTraits::Empty(); }

    // The raw slot for a Win32 call that fills it; whatever was held is closed first.
    THandle* put() noexcept
    {
        reset();
        return &m_h;
    }

    THandle release() noexcept
    {
        THandle h = m_h;
        m_h = TTraits::Empty();
        return h;
    }

    void reset(THandle h = TTraits::Empty()) noexcept
    {
        if (m_h != TTraits::Empty())
            TTraits::Close(m_h);
        m_h = h;
    }

private:
    THandle m_h = TTraits::Empty();
};

struct CRegKeyTraits
{
    static HKEY Empty() noexcept { return nullptr; }
    static void Close(HKEY h) noexcept { RegCloseKey(h); }
};

struct CFindTraits
{
    static HANDLE Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { FindClose(h); }
};

struct CFileTraits
{
    static HANDLE Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { CloseHandle(h); }
};

// Processes, mutexes and the like: null when there is none.
struct CKernelObjectTraits
{
    static HANDLE Empty() noexcept { return nullptr; }
    static void Close(HANDLE h) noexcept { CloseHandle(h); }
};

struct CGlobalTraits
{
    static HGLOBAL Empty() noexcept { return nullptr; }
    static void Close(HGLOBAL h) noexcept { GlobalFree(h); }
};

struct CIconTraits
{
    static HICON Empty() noexcept { return nullptr; }
    static void Close(HICON h) noexcept { DestroyIcon(h); }
};

using CUniqueRegKey = CUniqueHandle<HKEY, CRegKeyTraits>;
using CUniqueFind = CUniqueHandle<HANDLE, CFindTraits>;
using CUniqueFile = CUniqueHandle<HANDLE, CFileTraits>;
using CUniqueKernelObject = CUniqueHandle<HANDLE, CKernelObjectTraits>;
using CUniqueGlobal = CUniqueHandle<HGLOBAL, CGlobalTraits>;
using CUniqueIcon = CUniqueHandle<HICON, CIconTraits>;
