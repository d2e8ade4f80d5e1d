#include "lib/sevenzip/MemoryInStream.h"

#include <cstring>

namespace {

MemoryInStream* Self(ISeekInStreamPtr p) { return reinterpret_cast<MemoryInStream*>(const_cast<ISeekInStream*>(p)); }

SRes Read(ISeekInStreamPtr p, void* buffer, size_t* size) {
    MemoryInStream* s = Self(p);
    const size_t left = s->size - s->position;
    if (*size > left) *size = left;
    if (*size) std::memcpy(buffer, s->bytes + s->position, *size);
    s->position += *size;
    return SZ_OK;
}

// A seek before the start or past the end is refused and leaves the position as it was.
SRes Seek(ISeekInStreamPtr p, Int64* position, ESzSeek origin) {
    MemoryInStream* s = Self(p);
    const Int64 base = origin == SZ_SEEK_SET ? 0 : origin == SZ_SEEK_CUR ? Int64(s->position) : Int64(s->size);
    const Int64 target = base + *position;
    if (target < 0 || target > Int64(s->size)) return SZ_ERROR_READ;
    s->position = size_t(target);
    *position = target;
    return SZ_OK;
}

}  // namespace

MemoryInStream::MemoryInStream(const uint8_t* bytes, size_t size, size_t position)
    : vt{Read, Seek}, bytes(bytes), size(size), position(position < size ? position : size) {}
