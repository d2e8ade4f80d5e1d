// Finding the 7z archive inside the bytes of a file (the archive appended to Setup's executable).
#pragma once
#include <cstddef>
#include <cstdint>

namespace setup {

// The first offset, from 0 up to size - 33, where the 7z signature stands and the CRC-32 of the 20 bytes
// at offset + 12 equals the 32-bit value at offset + 8. Other copies of the signature bytes (the decoder's
// own constant among them) fail that check. Needs the decoder's CRC table (CrcGenerateTable).
bool FindPayloadStart(const uint8_t* bytes, size_t size, size_t* offset);

}  // namespace setup
