// A seekable input stream over bytes in memory, for the 7z decoder: an archive read whole into memory (the
// updater's UI package) or handed over as it is (the payload fuzz target). The bytes must outlive the stream.
#pragma once
#include <cstddef>
#include <cstdint>

#include "7zTypes.h"

struct MemoryInStream {
    MemoryInStream(const uint8_t* bytes, size_t size, size_t position = 0);

    ISeekInStream vt;
    const uint8_t* bytes;
    size_t size;
    size_t position;
};
