// Small Microsoft cabinets written by the tests themselves: one stored folder, member names kept
// byte for byte (gcab strips "..\" and a leading "\"), and the damaged forms an installer meets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct SCabMember
{
    SCabMember(std::string strName_, std::string strContent_,
               std::optional<std::uint32_t> nDeclaredSize_ = std::nullopt)
        : strName(std::move(strName_)), strContent(std::move(strContent_)), nDeclaredSize(nDeclaredSize_)
    {
    }

    std::string strName; // Windows-1252 bytes, "\" between folders, written exactly as given
    std::string strContent;
    // Written as the member's size instead of the content's length, e.g. far more than there is.
    std::optional<std::uint32_t> nDeclaredSize;
};

struct SCabOptions
{
    // The last member continues in the next cabinet of the set: the header names that cabinet and
    // its disk, the member is marked as continued, and only the first half of its content is here,
    // in a last block that is split.
    bool bContinued = false;
    std::string strNextCabinet = "next.cab";
    std::string strNextDisk = "Disk 2";
    // The finished cabinet is cut to this many bytes.
    std::optional<std::size_t> nTruncateTo;
};

// The bytes of the cabinet with these members in this order.
std::string BuildCabinet(const std::vector<SCabMember>& members, const SCabOptions& options = {});

// Writes BuildCabinet's bytes to strPath; false when the file cannot be written.
bool WriteCabinet(const std::string& strPath, const std::vector<SCabMember>& members,
                  const SCabOptions& options = {});

// XORs nMask into the byte at nOffset of an existing file; false when the file has no such byte.
bool FlipBits(const std::string& strPath, std::size_t nOffset, unsigned char nMask);
