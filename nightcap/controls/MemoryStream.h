// A COM stream over a block of global memory: how image bytes are handed to GDI+.
#pragma once
#include <windows.h>
#include <objidl.h>

#include <string>

namespace nightcap {

class MemoryStream {
public:
    MemoryStream() = default;
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;
    ~MemoryStream();

    // Releases the stream and the memory.
    virtual void Free();
    // With bytes: fixed memory holding a copy of them, kept by this object (the stream does not free it).
    // Without: empty movable memory that the stream frees itself. Returns false when nothing was made.
    virtual bool Open(const void* bytes = nullptr, size_t size = 0);
    virtual IStream* Stream() const { return stream_; }
    virtual size_t Size() const;
    virtual std::string ToBytes() const;

    // Hands over the stream and the memory (the caller frees both); the object is empty afterwards.
    void Detach(IStream** stream, HGLOBAL* memory);

private:
    HGLOBAL memory_ = nullptr;
    IStream* stream_ = nullptr;
    bool ownsMemory_ = false;
};

}  // namespace nightcap
