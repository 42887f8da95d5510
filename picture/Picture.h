// Holder of one decoded picture, drawn stretched into a rectangle.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "ComPtr.h"

class CPicture
{
public:
    // Decodes the file into the holder. False when the file cannot be opened: the picture held
    // before stays. A file that opens but does not decode leaves the holder empty and gives true.
    bool LoadFile(const char* pszPath);

    // Draws the whole picture stretched to the rectangle, upright; nothing when empty.
    bool Draw(HDC hDC, const RECT& rc, const RECT* prcMetafileBounds) const;

    void SizeInHimetric(OLE_XSIZE_HIMETRIC& nWidth, OLE_YSIZE_HIMETRIC& nHeight) const;
    void Clear() { m_pPicture.reset(); }
    bool IsEmpty() const { return !m_pPicture; }

private:
    CComPtr<IPicture> m_pPicture;
    // Result of the latest size query, for diagnostics.
    mutable HRESULT m_hrLast = S_OK;
};
