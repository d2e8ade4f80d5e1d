// Fuzzes Setup's payload path over memory: the start-header scan, the database open and the unpacking of
// every item, with allocations capped and a target that checks every path stays inside the folder.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "7zCrc.h"
#include "ArchiveExtraction.h"
#include "PayloadArchive.h"
#include "PayloadLocator.h"

namespace {

constexpr size_t kMaxInput = 1 << 20;
constexpr size_t kMaxAllocation = 32u << 20;  // a decoded block of the real payload is about 13 MB

void* CappedAlloc(ISzAllocPtr, size_t size) { return size == 0 || size > kMaxAllocation ? nullptr : std::malloc(size); }
void CappedFree(ISzAllocPtr, void* address) { std::free(address); }
const ISzAlloc kAlloc = {CappedAlloc, CappedFree};

// The whole input as a seekable stream, positioned at the located archive.
struct MemoryStream {
    ISeekInStream vt;
    const uint8_t* data;
    size_t size;
    size_t position;

    static SRes Read(ISeekInStreamPtr p, void* buffer, size_t* size) {
        MemoryStream* self = reinterpret_cast<MemoryStream*>(const_cast<ISeekInStream*>(p));
        const size_t left = self->size - self->position;
        if (*size > left) *size = left;
        if (*size) std::memcpy(buffer, self->data + self->position, *size);
        self->position += *size;
        return SZ_OK;
    }
    static SRes Seek(ISeekInStreamPtr p, Int64* position, ESzSeek origin) {
        MemoryStream* self = reinterpret_cast<MemoryStream*>(const_cast<ISeekInStream*>(p));
        const Int64 base = origin == SZ_SEEK_SET ? 0 : origin == SZ_SEEK_CUR ? Int64(self->position) : Int64(self->size);
        const Int64 target = base + *position;
        if (target < 0 || target > Int64(self->size)) return SZ_ERROR_READ;
        self->position = size_t(target);
        *position = target;
        return SZ_OK;
    }
};

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool tableReady = (CrcGenerateTable(), true);
    (void)tableReady;
    if (size > kMaxInput) return 0;
    size_t offset = 0;
    if (!FindPayloadStart(data, size, &offset)) return 0;
    MemoryStream stream = {{MemoryStream::Read, MemoryStream::Seek}, data, size, offset};
    PayloadArchive archive(&kAlloc, &kAlloc);
    if (!archive.Open(&stream.vt)) return 0;
    archive.UnpackedTotal();
    std::vector<uint16_t> folder(kFolder, kFolder + sizeof kFolder);
    CheckingTarget target;
    ExtractArchive(archive, folder.data(), target, nullptr);
    return 0;
}
