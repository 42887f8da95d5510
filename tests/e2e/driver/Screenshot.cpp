#include "Screenshot.h"

#include "AnsiText.h"
#include "DriverError.h"
#include "ScopedHandle.h"
#include "ScreenCapture.h"

#include <vector>

namespace
{

void WriteAll(HANDLE hFile, const void* pData, DWORD dwBytes, const std::string& strPath)
{
    DWORD dwWritten = 0;
    if (!WriteFile(hFile, pData, dwBytes, &dwWritten, nullptr) || dwWritten != dwBytes)
        throw CDriverError("cannot write " + strPath);
}

// 24-bit BMP rows run bottom-up, blue first, each padded to whole DWORDs.
std::vector<BYTE> ToBmpRows(const SPixelImage& image, DWORD dwRowBytes)
{
    std::vector<BYTE> vecBits(dwRowBytes * static_cast<DWORD>(image.m_nHeight), 0);
    for (int y = 0; y < image.m_nHeight; ++y)
    {
        BYTE* pRow = &vecBits[dwRowBytes * static_cast<DWORD>(image.m_nHeight - 1 - y)];
        for (int x = 0; x < image.m_nWidth; ++x)
        {
            const DWORD dwPixel = image.m_vecPixels[static_cast<size_t>(y * image.m_nWidth + x)];
            pRow[x * 3] = static_cast<BYTE>(dwPixel & 0xFF);
            pRow[x * 3 + 1] = static_cast<BYTE>((dwPixel >> 8) & 0xFF);
            pRow[x * 3 + 2] = static_cast<BYTE>((dwPixel >> 16) & 0xFF);
        }
    }
    return vecBits;
}

} // namespace

void SaveWindowBitmap(HWND hWnd, const std::string& strPath)
{
    RECT rc = {};
    if (!GetWindowRect(hWnd, &rc))
        throw CDriverError("cannot capture a window that is gone");
    // Copied from the screen: under Wine PrintWindow of another process's
    // window does not give its picture.
    const SPixelImage image = CaptureScreenRect(rc);

    const DWORD dwRowBytes = ((static_cast<DWORD>(image.m_nWidth) * 3 + 3) / 4) * 4;
    const std::vector<BYTE> vecBits = ToBmpRows(image, dwRowBytes);
    const DWORD dwImageBytes = static_cast<DWORD>(vecBits.size());

    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    bih.biWidth = image.m_nWidth;
    bih.biHeight = image.m_nHeight;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    bih.biSizeImage = dwImageBytes;

    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
    bfh.bfSize = bfh.bfOffBits + dwImageBytes;

    const CScopedHandle hFile(CreateFileW(AnsiToWide(strPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile.IsValid())
        throw CDriverError("cannot create " + strPath + ": error " + std::to_string(GetLastError()));
    WriteAll(hFile.Get(), &bfh, sizeof(bfh), strPath);
    WriteAll(hFile.Get(), &bih, sizeof(bih), strPath);
    WriteAll(hFile.Get(), vecBits.data(), dwImageBytes, strPath);
}
