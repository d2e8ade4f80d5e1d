// The free-space rule for the install folder, and how sizes are shown.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace setup {

// "%d.%02d %s" in B, KB, MB or GB (both parts truncated): 1536 gives "1.50 KB".
std::wstring FormatSize(uint64_t bytes);

struct DiskCheck {
    bool accepted = false;
    std::wstring text;  // for control 1003
};

// Free bytes of a drive root such as "D:\"; nothing when the drive cannot be asked.
using FreeSpaceQuery = std::function<std::optional<uint64_t>(const std::wstring& root)>;

// Accepts folderText when its drive (its first three characters) has more free bytes than requiredBytes.
DiskCheck CheckDiskSpace(const std::wstring& folderText, uint32_t requiredBytes, const FreeSpaceQuery& freeBytesOf);

}  // namespace setup
