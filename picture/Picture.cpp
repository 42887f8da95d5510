#include "Picture.h"

#include "UniqueHandle.h"

bool CPicture::LoadFile(const char* pszPath)
{
    CUniqueFile hFile(CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile)
        return false;

    Clear();

    // The decoder reads from a stream; the file's content goes into one memory block for it.
    DWORD nSizeHigh = 0;
    const DWORD nSize = GetFileSize(hFile.get(), &nSizeHigh);
    if (nSize == INVALID_FILE_SIZE || nSizeHigh != 0 || nSize == 0)
        return true;

    CUniqueGlobal hMemory(GlobalAlloc(GMEM_MOVEABLE, nSize));
    if (!hMemory)
        return true;
    void* pData = GlobalLock(hMemory.get());
    DWORD nRead = 0;
    const bool bRead = pData != nullptr && ReadFile(hFile.get(), pData, nSize, &nRead, nullptr) && nRead == nSize;
    GlobalUnlock(hMemory.get());
    if (!bRead)
        return true;

    CComPtr<IStream> pStream;
    if (FAILED(CreateStreamOnHGlobal(hMemory.get(), TRUE, pStream.put())))
        return true;
    hMemory.release();  // the stream frees the block now

    OleLoadPicture(pStream.get(), 0, FALSE, IID_IPicture, m_pPicture.put_void());
    return true;
}

bool CPicture::Draw(HDC hDC, const RECT& rc, const RECT* prcMetafileBounds) const
{
    if (!m_pPicture)
        return true;

    OLE_XSIZE_HIMETRIC nWidth;
    OLE_YSIZE_HIMETRIC nHeight;
    SizeInHimetric(nWidth, nHeight);
    // HIMETRIC y runs upwards: starting at the bottom with a negative height draws upright.
    m_pPicture->Render(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, 0, nHeight, nWidth, -nHeight,
                       prcMetafileBounds);
    return true;
}

void CPicture::SizeInHimetric(OLE_XSIZE_HIMETRIC& nWidth, OLE_YSIZE_HIMETRIC& nHeight) const
{
    nWidth = 0;
    nHeight = 0;
    if (!m_pPicture)
        return;
    m_hrLast = m_pPicture->get_Width(&nWidth);
    m_hrLast = m_pPicture->get_Height(&nHeight);
}
