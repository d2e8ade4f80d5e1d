#include "nightcap/controls/ImageLoading.h"

#include <map>
#include <utility>

#include "nightcap/controls/ControlsModule.h"
#include "nightcap/controls/MemoryStream.h"

namespace nightcap {

using namespace Gdiplus::DllExports;

namespace {

// What each loaded image was decoded from: GDI+ may read its stream again until the image is gone.
struct ImageSource {
    IStream* stream;
    HGLOBAL memory;
};
std::map<GpImage*, ImageSource>& Sources() {
    static std::map<GpImage*, ImageSource> sources;
    return sources;
}

}  // namespace

GpImage* LoadImageFromBytes(const void* bytes, size_t size) {
    if (!bytes || size == 0) return nullptr;
    MemoryStream stream;
    if (!stream.Open(bytes, size)) return nullptr;
    GpImage* image = nullptr;
    if (GdipLoadImageFromStream(stream.Stream(), &image) != Gdiplus::Ok || !image) return nullptr;
    GdipImageSelectActiveFrame(image, &TimeFrameDimension(), 0);
    ImageSource source;
    stream.Detach(&source.stream, &source.memory);
    Sources()[image] = source;
    return image;
}

void ReleaseImage(GpImage* image) {
    if (!image) return;
    GdipDisposeImage(image);
    auto it = Sources().find(image);
    if (it == Sources().end()) return;
    it->second.stream->Release();
    if (it->second.memory) GlobalFree(it->second.memory);
    Sources().erase(it);
}

bool ImageSize(GpImage* image, int* width, int* height) {
    *width = *height = 0;
    Gdiplus::REAL w = 0, h = 0;
    if (!image || GdipGetImageDimension(image, &w, &h) != Gdiplus::Ok) return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

std::string ResourceBytes(int id, LPCSTR type) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return std::string(static_cast<const char*>(data), SizeofResource(module, found));
}

}  // namespace nightcap
