#include "lib/sevenzip/SevenZipArchive.h"

#include "common/ItemName.h"

SevenZipArchive::SevenZipArchive(ISzAllocPtr alloc, ISzAllocPtr allocTemp) : alloc_(alloc), allocTemp_(allocTemp) {
    SzArEx_Init(&db_);
}

SevenZipArchive::~SevenZipArchive() {
    ISzAlloc_Free(alloc_, block_);
    SzArEx_Free(&db_, alloc_);
}

bool SevenZipArchive::Open(ISeekInStreamPtr stream) {
    LookToRead2_CreateVTable(&look_, False);
    look_.buf = lookBuffer_;
    look_.bufSize = sizeof lookBuffer_;
    look_.realStream = stream;
    LookToRead2_INIT(&look_);
    return SzArEx_Open(&db_, &look_.vt, alloc_, allocTemp_) == SZ_OK;
}

uint32_t SevenZipArchive::UnpackedTotal() const {
    uint32_t total = 0;
    for (UInt32 block = 0; block < db_.db.NumFolders; ++block) {
        total += static_cast<uint32_t>(SzAr_GetFolderUnpackSize(&db_.db, block));
    }
    return total;
}

bool SevenZipArchive::HasOnlySafeNames() const {
    for (UInt32 item = 0; item < db_.NumFiles; ++item) {
        const std::vector<uint16_t>& name = ItemName(item);
        if (!IsSafeItemName(name.data(), name.size())) return false;
    }
    return true;
}

const std::vector<uint16_t>& SevenZipArchive::ItemName(uint32_t item) const {
    name_.resize(SzArEx_GetFileNameUtf16(&db_, item, nullptr));
    SzArEx_GetFileNameUtf16(&db_, item, name_.data());
    if (!name_.empty()) name_.pop_back();  // the terminator
    return name_;
}

bool SevenZipArchive::ModificationTime(uint32_t item, uint64_t* fileTime) const {
    if (!SzBitWithVals_Check(&db_.MTime, item)) return false;
    const CNtfsFileTime& time = db_.MTime.Vals[item];
    *fileTime = uint64_t(time.High) << 32 | time.Low;
    return true;
}

bool SevenZipArchive::ItemBytes(uint32_t item, const uint8_t** bytes, size_t* size) {
    size_t offset = 0;
    *size = 0;
    *bytes = nullptr;
    // An empty file lies in no block. Asking the decoder for it would drop the block in memory, which the
    // next item may need again.
    if (db_.FileToFolder[item] == UINT32_MAX) return true;
    const SRes res = SzArEx_Extract(&db_, &look_.vt, item, &blockIndex_, &block_, &blockSize_, &offset, size,
                                    alloc_, allocTemp_);
    *bytes = block_ ? block_ + offset : nullptr;
    return res == SZ_OK;
}
