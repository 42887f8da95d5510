// The campaign's random numbers: a fixed algorithm, so that a seed makes the same cases on every
// build and host (the standard distributions may differ between libraries).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CRandom
{
public:
    explicit CRandom(std::uint64_t nSeed) : m_nState(nSeed) {}

    // SplitMix64.
    std::uint64_t Next()
    {
        std::uint64_t n = (m_nState += 0x9E3779B97F4A7C15ull);
        n = (n ^ (n >> 30)) * 0xBF58476D1CE4E5B9ull;
        n = (n ^ (n >> 27)) * 0x94D049BB133111EBull;
        return n ^ (n >> 31);
    }

    // A number in [0, nCount); 0 when nCount is 0.
    std::uint64_t Below(std::uint64_t nCount) { return nCount == 0 ? 0 : Next() % nCount; }
    // A number in [nLow, nHigh].
    std::int64_t Between(std::int64_t nLow, std::int64_t nHigh)
    {
        return nLow + static_cast<std::int64_t>(Below(static_cast<std::uint64_t>(nHigh - nLow) + 1));
    }
    bool Chance(unsigned nPercent) { return Below(100) < nPercent; }
    unsigned char Byte() { return static_cast<unsigned char>(Next() & 0xFF); }

    template <typename T>
    const T& Pick(const std::vector<T>& items)
    {
        return items[static_cast<std::size_t>(Below(items.size()))];
    }

    std::string Bytes(std::size_t nCount)
    {
        std::string str(nCount, '\0');
        for (char& ch : str)
            ch = static_cast<char>(Byte());
        return str;
    }

private:
    std::uint64_t m_nState;
};

// One case's seed from the campaign's seed, the kind's name and the case's number: any case can be
// run again alone with the same bytes.
inline std::uint64_t CaseSeed(std::uint64_t nSeed, const std::string& strKind, unsigned nIndex)
{
    std::uint64_t nHash = 0xCBF29CE484222325ull ^ nSeed;
    for (const char ch : strKind)
        nHash = (nHash ^ static_cast<unsigned char>(ch)) * 0x100000001B3ull;
    nHash = (nHash ^ nIndex) * 0x100000001B3ull;
    CRandom mix(nHash);
    return mix.Next();
}
