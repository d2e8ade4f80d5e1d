// The skin pack: a tree of named files in one byte block (the "SKIN" resource). Little-endian, no padding:
//   Folder    = u32 subfolder count, Subfolder*, u32 file count, File*
//   Subfolder = u16 name length, name (code page 936), u32 content length, Folder
//   File      = u16 name length, name, u32 data length, data
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace setup {

struct SkinEntry {
    const uint8_t* data;
    uint32_t size;
};

// Looks up path ("folder\\name", 8-bit text; ASCII letters compare without case). Never reads outside
// pack[0, packSize); a damaged pack finds nothing.
std::optional<SkinEntry> FindSkinEntry(const uint8_t* pack, size_t packSize, std::string_view path);

}  // namespace setup
