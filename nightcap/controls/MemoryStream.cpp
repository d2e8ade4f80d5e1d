#include "nightcap/controls/MemoryStream.h"

#include <cstring>

namespace nightcap {

MemoryStream::~MemoryStream() { Free(); }

void MemoryStream::Free() {
    if (stream_) stream_->Release();
    stream_ = nullptr;
    if (memory_ && ownsMemory_) GlobalFree(memory_);
    memory_ = nullptr;
    ownsMemory_ = false;
}

bool MemoryStream::Open(const void* bytes, size_t size) {
    Free();
    if (bytes) {
        memory_ = GlobalAlloc(GMEM_FIXED, size);
        if (!memory_) return false;
        std::memcpy(memory_, bytes, size);
        ownsMemory_ = true;
        if (FAILED(CreateStreamOnHGlobal(memory_, FALSE, &stream_))) {
            Free();
            return false;
        }
        return true;
    }
    memory_ = GlobalAlloc(GMEM_MOVEABLE, 0);
    if (!memory_) return false;
    if (FAILED(CreateStreamOnHGlobal(memory_, TRUE, &stream_))) {
        GlobalFree(memory_);
        memory_ = nullptr;
        return false;
    }
    return true;
}

size_t MemoryStream::Size() const {
    HGLOBAL memory = memory_;
    if (stream_ && !ownsMemory_) GetHGlobalFromStream(stream_, &memory);  // the stream may have grown it
    return memory ? GlobalSize(memory) : 0;
}

std::string MemoryStream::ToBytes() const {
    HGLOBAL memory = memory_;
    if (stream_ && !ownsMemory_) GetHGlobalFromStream(stream_, &memory);
    if (!memory) return {};
    // A stream that grew its memory may hold more than it wrote: its own size says how much is data.
    size_t size = GlobalSize(memory);
    STATSTG stat = {};
    if (stream_ && SUCCEEDED(stream_->Stat(&stat, STATFLAG_NONAME)) && stat.cbSize.QuadPart < size)
        size = static_cast<size_t>(stat.cbSize.QuadPart);
    const void* data = GlobalLock(memory);
    if (!data) return {};
    std::string bytes(static_cast<const char*>(data), size);
    GlobalUnlock(memory);
    return bytes;
}

void MemoryStream::Detach(IStream** stream, HGLOBAL* memory) {
    *stream = stream_;
    *memory = ownsMemory_ ? memory_ : nullptr;
    stream_ = nullptr;
    memory_ = nullptr;
    ownsMemory_ = false;
}

}  // namespace nightcap
