// The decoder's view of an opened 7z archive: the database, read through a look-ahead stream with a
// 16384-byte buffer over the caller's seekable stream, and the one decoded block kept between items.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "7z.h"

class SevenZipArchive {
public:
    // Both allocators must outlive the archive.
    SevenZipArchive(ISzAllocPtr alloc, ISzAllocPtr allocTemp);
    ~SevenZipArchive();
    SevenZipArchive(const SevenZipArchive&) = delete;
    SevenZipArchive& operator=(const SevenZipArchive&) = delete;

    // Reads the database of the archive that starts at the stream's current position. The stream must
    // outlive the archive.
    bool Open(ISeekInStreamPtr stream);

    // The sum of every block's unpacked size, cut to 32 bits and added in 32 bits.
    uint32_t UnpackedTotal() const;
    // False when some item's name would lead out of the install folder (see IsSafeItemName).
    bool HasOnlySafeNames() const;

    uint32_t ItemCount() const { return db_.NumFiles; }
    uint32_t BlockCount() const { return db_.db.NumFolders; }
    uint64_t BlockUnpackedSize(uint32_t block) const { return SzAr_GetFolderUnpackSize(&db_.db, block); }
    bool IsFolder(uint32_t item) const { return SzArEx_IsDir(&db_, item); }
    // The stored UTF-16 name, without its terminator.
    const std::vector<uint16_t>& ItemName(uint32_t item) const;
    // False when the item carries no modification time.
    bool ModificationTime(uint32_t item, uint64_t* fileTime) const;
    // The item's bytes, decoding its block unless it is the one in memory. False on any decoder error
    // (damaged data, checksum mismatch, no memory, unsupported method).
    bool ItemBytes(uint32_t item, const uint8_t** bytes, size_t* size);

private:
    ISzAllocPtr alloc_;
    ISzAllocPtr allocTemp_;
    CLookToRead2 look_{};
    uint8_t lookBuffer_[16384];
    CSzArEx db_{};
    mutable std::vector<uint16_t> name_;
    // The decoded block kept between items (SzArEx_Extract's cache).
    UInt32 blockIndex_ = UINT32_MAX;
    Byte* block_ = nullptr;
    size_t blockSize_ = 0;
};
