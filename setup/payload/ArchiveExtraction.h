// Unpacking an opened payload into the install folder, item by item in archive order.
#pragma once
#include <cstdint>

#include "lib/sevenzip/SevenZipArchive.h"
#include "setup/payload/ExtractTarget.h"

namespace setup {

// Files are written in pieces of at most this many bytes.
constexpr size_t kWritePieceBytes = 4u << 20;

// Unpacks every item of archive behind folder (terminated UTF-16). Before anything is created, an archive
// with a name that would lead out of the folder is refused as damaged. Parent folders are created as items
// need them; a file is written from the block in memory and gets its stored modification time (stored
// attributes are not applied). An item whose path does not fit the 260-unit path buffer, and a file that
// cannot be created (held open by a running program), are skipped. While a block is decoded, progress (when
// set) is called after each decoding step with the bytes decoded so far in the whole archive.
// False when the folder does not fit the buffer, a name is unsafe, the decoder fails on an item, or a file
// cannot be written whole (that file is removed). Items already written stay.
bool ExtractArchive(SevenZipArchive& archive, const uint16_t* folder, ExtractTarget& target,
                    void (*progress)(UInt32 bytes));

}  // namespace setup
