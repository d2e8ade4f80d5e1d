#include "setup/payload/PayloadLocator.h"

#include <cstring>

#include "7zCrc.h"

namespace setup {

namespace {

constexpr uint8_t kSignature[6] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
constexpr size_t kStartHeaderSize = 32;  // signature, version, CRC, next-header offset, size and CRC

uint32_t ReadUInt32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool IsStartHeader(const uint8_t* p) {
    return std::memcmp(p, kSignature, sizeof kSignature) == 0 && CrcCalc(p + 12, 20) == ReadUInt32(p + 8);
}

}  // namespace

bool FindPayloadStart(const uint8_t* bytes, size_t size, size_t* offset) {
    if (size <= kStartHeaderSize) return false;
    const size_t last = size - kStartHeaderSize - 1;
    for (size_t at = 0; at <= last;) {
        const void* hit = std::memchr(bytes + at, kSignature[0], last - at + 1);
        if (!hit) return false;
        at = static_cast<size_t>(static_cast<const uint8_t*>(hit) - bytes);
        if (IsStartHeader(bytes + at)) {
            *offset = at;
            return true;
        }
        ++at;
    }
    return false;
}

}  // namespace setup
