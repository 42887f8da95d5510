#pragma once

#include <windows.h>

// Scoped GDI resources, so every capture path gives back what it took.

class CScreenDC
{
public:
    CScreenDC()
        : m_hDC(GetDC(nullptr))
    {
    }
    ~CScreenDC()
    {
        if (m_hDC)
            ReleaseDC(nullptr, m_hDC);
    }
    CScreenDC(const CScreenDC&) = delete;
    CScreenDC& operator=(const CScreenDC&) = delete;

    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC;
};

class CMemoryDC
{
public:
    explicit CMemoryDC(HDC hCompatible)
        : m_hDC(CreateCompatibleDC(hCompatible))
    {
    }
    ~CMemoryDC()
    {
        if (m_hDC)
            DeleteDC(m_hDC);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC;
};

class CGdiBitmap
{
public:
    CGdiBitmap(HDC hCompatible, int nWidth, int nHeight)
        : m_hBitmap(CreateCompatibleBitmap(hCompatible, nWidth, nHeight))
    {
    }
    ~CGdiBitmap()
    {
        if (m_hBitmap)
            DeleteObject(m_hBitmap);
    }
    CGdiBitmap(const CGdiBitmap&) = delete;
    CGdiBitmap& operator=(const CGdiBitmap&) = delete;

    HBITMAP Get() const { return m_hBitmap; }

private:
    HBITMAP m_hBitmap;
};

// Selects an object into a DC and puts the previous one back.
class CSelectObject
{
public:
    CSelectObject(HDC hDC, HGDIOBJ hObject)
        : m_hDC(hDC)
        , m_hPrevious(SelectObject(hDC, hObject))
    {
    }
    ~CSelectObject()
    {
        if (m_hPrevious)
            SelectObject(m_hDC, m_hPrevious);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hPrevious;
};
