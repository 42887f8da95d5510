// Writes ZantoSetup.ico from the pixel art below: a yellow "Z" on a blue shield,
// 32x32 and 16x16, 16 colours each with a transparency mask.
//
// Build and run on the host: g++ -std=c++17 -o MakeIcon MakeIcon.cpp && ./MakeIcon ZantoSetup.ico
//
// Each art character is a palette index in hex ('0'..'F'), '.' is transparent.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace
{

// The Windows 16-colour palette in index order, as red, green, blue.
const std::uint8_t g_abyPalette[16][3] = {
    {0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
    {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0xC0, 0xC0, 0xC0},
    {0x80, 0x80, 0x80}, {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0xFF, 0xFF, 0x00},
    {0x00, 0x00, 0xFF}, {0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF},
};

const char* const g_apszArt32[32] = {
    "................................",
    "...00000000000000000000000000...",
    "...07777777777777777777777770...",
    "...07CCCCCCCCCCCCCCCCCCCCCC70...",
    "...07CCCCCCCCCCCCCCCCCCCCCC70...",
    "...07CCCCCCCCCCCCCCCCCCCCCC70...",
    "...07CCCCBBBBBBBBBBBBBBCCCC70...",
    "...07CCCCBBBBBBBBBBBBBB4CCC70...",
    "...07CCCCBBBBBBBBBBBBBB4CCC70...",
    "...07CCCCBBBBBBBBBBBBBB4CCC70...",
    "...07CCCCC4444444BBBBBB4CCC70...",
    "...07CCCCCCCCCCCBBBBBB44CCC70...",
    "...07CCCCCCCCCCBBBBBB44CCCC70...",
    "...07CCCCCCCCCBBBBBB44CCCCC70...",
    "...07CCCCCCCCBBBBBB44CCCCCC70...",
    "...07CCCCCCCBBBBBB44CCCCCCC70...",
    "...07CCCCCCBBBBBB44CCCCCCCC70...",
    "...07CCCCCBBBBBB44CCCCCCCCC70...",
    "...077CCCBBBBBB44CCCCCCCCC770...",
    "....07CCCBBBBBBBBBBBBBBCCC70....",
    "....077CCBBBBBBBBBBBBBB4C770....",
    ".....07CCBBBBBBBBBBBBBB4C70.....",
    ".....077CBBBBBBBBBBBBBB4770.....",
    "......07CC4444444444444470......",
    "......077CCCCCCCCCCCCCC770......",
    ".......077CCCCCCCCCCCC770.......",
    "........077CCCCCCCCCC770........",
    ".........0777CCCCCC7770.........",
    "..........00777CC77700..........",
    "............00777700............",
    "..............0000..............",
    "................................",
};

const char* const g_apszArt16[16] = {
    ".00000000000000.",
    ".0CCCCCCCCCCCC0.",
    ".0CCCCCCCCCCCC0.",
    ".0CCBBBBBBBBCC0.",
    ".0CCBBBBBBBBCC0.",
    ".0CCCCCCCBBBCC0.",
    ".0CCCCCCBBBCCC0.",
    ".0CCCCCBBBCCCC0.",
    ".0CCCCBBBCCCCC0.",
    ".0CCCBBBCCCCCC0.",
    "..0CBBBBBBBBC0..",
    "..0CBBBBBBBBC0..",
    "...0CCCCCCCC0...",
    "....0CCCCCC0....",
    ".....0CCCC0.....",
    "......0000......",
};

struct SImage
{
    int m_nSize;
    const char* const* m_ppszArt;
};

const SImage g_aImages[] = {{32, g_apszArt32}, {16, g_apszArt16}};
const int g_nImageCount = 2;

void AppendWord(std::vector<std::uint8_t>& vecOut, unsigned int uValue)
{
    vecOut.push_back(static_cast<std::uint8_t>(uValue & 0xFF));
    vecOut.push_back(static_cast<std::uint8_t>((uValue >> 8) & 0xFF));
}

void AppendDword(std::vector<std::uint8_t>& vecOut, std::uint32_t dwValue)
{
    AppendWord(vecOut, dwValue & 0xFFFF);
    AppendWord(vecOut, dwValue >> 16);
}

// Bitmap rows are padded to whole 32-bit words.
int RowBytes(int nWidth, int nBitsPerPixel)
{
    return ((nWidth * nBitsPerPixel + 31) / 32) * 4;
}

bool PixelIndex(char chArt, int& nIndex)
{
    if (chArt >= '0' && chArt <= '9')
    {
        nIndex = chArt - '0';
        return true;
    }
    if (chArt >= 'A' && chArt <= 'F')
    {
        nIndex = chArt - 'A' + 10;
        return true;
    }
    return false;
}

// One icon image: BITMAPINFOHEADER with doubled height (colour bits plus mask),
// palette, 4-bit colour rows and 1-bit AND mask rows, both bottom-up.
bool BuildImage(const SImage& image, std::vector<std::uint8_t>& vecOut)
{
    const int nSize = image.m_nSize;
    const int nColourRow = RowBytes(nSize, 4);
    const int nMaskRow = RowBytes(nSize, 1);

    AppendDword(vecOut, 40);
    AppendDword(vecOut, static_cast<std::uint32_t>(nSize));
    AppendDword(vecOut, static_cast<std::uint32_t>(nSize * 2));
    AppendWord(vecOut, 1);
    AppendWord(vecOut, 4);
    AppendDword(vecOut, 0);
    AppendDword(vecOut, static_cast<std::uint32_t>((nColourRow + nMaskRow) * nSize));
    AppendDword(vecOut, 0);
    AppendDword(vecOut, 0);
    AppendDword(vecOut, 16);
    AppendDword(vecOut, 0);

    for (const auto& abyColour : g_abyPalette)
    {
        vecOut.push_back(abyColour[2]);
        vecOut.push_back(abyColour[1]);
        vecOut.push_back(abyColour[0]);
        vecOut.push_back(0);
    }

    std::vector<std::uint8_t> vecColour(static_cast<size_t>(nColourRow * nSize), 0);
    std::vector<std::uint8_t> vecMask(static_cast<size_t>(nMaskRow * nSize), 0);
    for (int y = 0; y < nSize; ++y)
    {
        const char* pszRow = image.m_ppszArt[y];
        if (std::strlen(pszRow) != static_cast<size_t>(nSize))
        {
            std::fprintf(stderr, "%dx%d row %d is not %d characters wide\n", nSize, nSize, y, nSize);
            return false;
        }
        const int nRow = nSize - 1 - y;
        for (int x = 0; x < nSize; ++x)
        {
            const char chArt = pszRow[x];
            int nIndex = 0;
            if (chArt == '.')
            {
                vecMask[static_cast<size_t>(nRow * nMaskRow + x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
            else if (!PixelIndex(chArt, nIndex))
            {
                std::fprintf(stderr, "bad art character '%c' in %dx%d row %d\n", chArt, nSize, nSize, y);
                return false;
            }
            const int nShift = (x % 2 == 0) ? 4 : 0;
            vecColour[static_cast<size_t>(nRow * nColourRow + x / 2)] |=
                static_cast<std::uint8_t>(nIndex << nShift);
        }
    }
    vecOut.insert(vecOut.end(), vecColour.begin(), vecColour.end());
    vecOut.insert(vecOut.end(), vecMask.begin(), vecMask.end());
    return true;
}

struct CFileCloser
{
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

} // namespace

int main(int argc, char** argv)
{
    const char* pszPath = argc > 1 ? argv[1] : "ZantoSetup.ico";

    std::vector<std::uint8_t> vecImages[g_nImageCount];
    for (int i = 0; i < g_nImageCount; ++i)
    {
        if (!BuildImage(g_aImages[i], vecImages[i]))
            return 1;
    }

    // ICONDIR, then one ICONDIRENTRY per image, then the images themselves.
    std::vector<std::uint8_t> vecFile;
    AppendWord(vecFile, 0);
    AppendWord(vecFile, 1);
    AppendWord(vecFile, g_nImageCount);
    std::uint32_t dwOffset = 6 + 16 * g_nImageCount;
    for (int i = 0; i < g_nImageCount; ++i)
    {
        const std::uint32_t dwBytes = static_cast<std::uint32_t>(vecImages[i].size());
        vecFile.push_back(static_cast<std::uint8_t>(g_aImages[i].m_nSize));
        vecFile.push_back(static_cast<std::uint8_t>(g_aImages[i].m_nSize));
        vecFile.push_back(16);
        vecFile.push_back(0);
        AppendWord(vecFile, 1);
        AppendWord(vecFile, 4);
        AppendDword(vecFile, dwBytes);
        AppendDword(vecFile, dwOffset);
        dwOffset += dwBytes;
    }
    for (const auto& vecImage : vecImages)
        vecFile.insert(vecFile.end(), vecImage.begin(), vecImage.end());

    std::unique_ptr<std::FILE, CFileCloser> pFile(std::fopen(pszPath, "wb"));
    if (!pFile)
    {
        std::fprintf(stderr, "cannot create %s\n", pszPath);
        return 1;
    }
    const bool bWritten = std::fwrite(vecFile.data(), 1, vecFile.size(), pFile.get()) == vecFile.size();
    // Closing flushes, so a full disk may only show up here.
    if (std::fclose(pFile.release()) != 0 || !bWritten)
    {
        std::fprintf(stderr, "cannot write %s\n", pszPath);
        return 1;
    }
    return 0;
}
