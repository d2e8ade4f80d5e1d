#include "common/ImageBytes.h"

#include <cstring>

namespace {

void StreamOverCopy(const void* bytes, size_t size, ComPtr<IStream>& stream) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return;
    void* copy = ::GlobalLock(block);
    if (!copy) {
        ::GlobalFree(block);
        return;
    }
    memcpy(copy, bytes, size);
    ::GlobalUnlock(block);
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, stream.Receive()))) ::GlobalFree(block);
}

}  // namespace

UniqueGpBitmap DecodeImageBytes(const void* bytes, size_t size) {
    UniqueGpBitmap bitmap;
    if (!bytes || size == 0) return bitmap;
    ComPtr<IStream> stream;
    StreamOverCopy(bytes, size, stream);
    if (!stream || Gdiplus::DllExports::GdipCreateBitmapFromStream(stream.Get(), bitmap.Receive()) != Gdiplus::Ok)
        return UniqueGpBitmap();
    return bitmap;
}
