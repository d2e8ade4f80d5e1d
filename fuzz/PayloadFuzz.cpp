// Fuzzes Setup's payload path over memory: the start-header scan, the database open and the unpacking of
// every item, with allocations capped and a target that checks every path stays inside the folder.
// Each input runs as it is, and once more with the checksums of its first start header and database put
// right, so that mutations get past them into the database reader and the decoders.
// Seeds: the archives of build/bin/payload-tests (hand-written and 7zz-made) and small 7zz payloads.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "7zCrc.h"
#include "lib/sevenzip/MemoryInStream.h"
#include "lib/sevenzip/SevenZipArchive.h"
#include "setup/payload/ArchiveExtraction.h"
#include "setup/payload/PayloadLocator.h"

using namespace setup;

namespace {

constexpr size_t kMaxInput = 1 << 20;
constexpr size_t kMaxAllocation = 32u << 20;  // a decoded block of the real payload is about 13 MB

void* CappedAlloc(ISzAllocPtr, size_t size) { return size == 0 || size > kMaxAllocation ? nullptr : std::malloc(size); }
void CappedFree(ISzAllocPtr, void* address) { std::free(address); }
const ISzAlloc kAlloc = {CappedAlloc, CappedFree};

const char kFolder[] = "F:\\inst\\";

// Every path must be the folder itself or lie below it, with no part that climbs out or names a drive;
// every byte handed over is read, so a range outside the decoded block shows up under the sanitizers.
class CheckingTarget : public ExtractTarget {
public:
    void CreateFolderTree(const uint16_t* path) override { Check(path); }
    void CreateFolder(const uint16_t* path) override { Check(path); }
    bool CreateOutputFile(const uint16_t* path) override {
        Check(path);
        return true;
    }
    size_t Write(const uint8_t* bytes, size_t size) override {
        for (size_t i = 0; i < size; ++i) sum_ += bytes[i];
        return size;
    }
    void SetModificationTime(uint64_t) override {}
    void CloseFile() override {}
    void RemoveFile(const uint16_t* path) override { Check(path); }

private:
    static void Check(const uint16_t* path) {
        std::string text;
        for (; *path; ++path) text += *path < 0x80 ? char(*path) : '?';
        if (text.size() >= 260 || text.compare(0, sizeof kFolder - 1, kFolder) != 0) std::abort();
        const std::string below = "\\" + text.substr(sizeof kFolder - 1) + "\\";
        if (below.find("\\..\\") != std::string::npos || below.find("\\.\\") != std::string::npos ||
            below.find(':') != std::string::npos || below.find('/') != std::string::npos) {
            std::abort();
        }
    }
    unsigned sum_ = 0;
};

void Unpack(const uint8_t* data, size_t size) {
    size_t offset = 0;
    if (!FindPayloadStart(data, size, &offset)) return;
    // The whole input, positioned at the located archive.
    MemoryInStream stream(data, size, offset);
    SevenZipArchive archive(&kAlloc, &kAlloc);
    if (!archive.Open(&stream.vt)) return;
    archive.UnpackedTotal();
    std::vector<uint16_t> folder(kFolder, kFolder + sizeof kFolder);
    CheckingTarget target;
    ExtractArchive(archive, folder.data(), target, nullptr);
}

uint64_t ReadLittleEndian(const uint8_t* p, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
    return value;
}

void WriteUInt32(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(value >> (8 * i));
}

// Puts right the database checksum and the start-header checksum of the first signature, if any.
bool FixChecksums(std::vector<uint8_t>& bytes) {
    static const uint8_t kSignature[6] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
    for (size_t at = 0; at + 32 <= bytes.size(); ++at) {
        if (std::memcmp(&bytes[at], kSignature, sizeof kSignature) != 0) continue;
        uint8_t* header = &bytes[at];
        const uint64_t nextOffset = ReadLittleEndian(header + 12, 8), nextSize = ReadLittleEndian(header + 20, 8);
        const size_t left = bytes.size() - at - 32;
        if (nextOffset <= left && nextSize <= left - nextOffset) {
            WriteUInt32(header + 28, CrcCalc(header + 32 + nextOffset, size_t(nextSize)));
        }
        WriteUInt32(header + 8, CrcCalc(header + 12, 20));
        return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool tableReady = (CrcGenerateTable(), true);
    (void)tableReady;
    if (size > kMaxInput) return 0;
    Unpack(data, size);
    std::vector<uint8_t> fixed(data, data + size);
    if (FixChecksums(fixed)) Unpack(fixed.data(), fixed.size());
    return 0;
}
