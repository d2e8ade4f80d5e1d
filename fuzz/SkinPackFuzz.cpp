// Skin pack lookups over arbitrary bytes: the first bytes of the input choose the path.
#include <cstddef>
#include <cstdint>
#include <string>

#include "setup/skin/SkinPack.h"

using namespace setup;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t pathLength = size ? data[0] % 32 : 0;
    if (pathLength + 1 > size) return 0;
    std::string path(reinterpret_cast<const char*>(data + 1), pathLength);
    const uint8_t* pack = data + 1 + pathLength;
    size_t packSize = size - 1 - pathLength;
    if (auto entry = FindSkinEntry(pack, packSize, path)) {
        volatile uint8_t sum = 0;
        for (uint32_t i = 0; i < entry->size; ++i) sum = sum + entry->data[i];  // the entry lies inside the pack
    }
    FindSkinEntry(pack, packSize, "\xb9\xd8\xb1\xd5.png");
    FindSkinEntry(pack, packSize, "a\\b\\c.png");
    return 0;
}
