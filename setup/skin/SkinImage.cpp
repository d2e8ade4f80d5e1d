#include "setup/skin/SkinImage.h"

#include <gdiplus.h>

#include <cstring>
#include <string>

#include "common/GdiplusUse.h"
#include "common/ImageBytes.h"
#include "setup/skin/SkinPack.h"

namespace setup {

namespace {

const uint8_t* g_pack = nullptr;
size_t g_packSize = 0;

std::string ToCodePage936(const std::wstring& text) {
    int n = WideCharToMultiByte(936, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(936, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

bool CopyDecoded(Gdiplus::GpBitmap* bitmap, SkinImage& image) {
    using namespace Gdiplus;
    UINT width = 0, height = 0;
    PixelFormat format = 0;
    if (DllExports::GdipGetImageWidth(bitmap, &width) != Ok || DllExports::GdipGetImageHeight(bitmap, &height) != Ok ||
        DllExports::GdipGetImagePixelFormat(bitmap, &format) != Ok || width == 0 || height == 0)
        return false;
    if (!image.Create(static_cast<int>(width), static_cast<int>(height))) return false;
    GpRect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    BitmapData data = {};
    data.Width = width;
    data.Height = height;
    data.Stride = static_cast<INT>(width * 4);
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = image.Bits();
    // Decode straight into the image's pixels (ARGB in memory is B, G, R, A like the DIB).
    if (DllExports::GdipBitmapLockBits(bitmap, &rect, ImageLockModeRead | ImageLockModeUserInputBuf,
                                       PixelFormat32bppARGB, &data) != Ok)
        return false;
    DllExports::GdipBitmapUnlockBits(bitmap, &data);
    image.SetHasAlpha(IsAlphaPixelFormat(format));
    return true;
}

}  // namespace

SkinImage::~SkinImage() { Reset(); }

bool SkinImage::Create(int width, int height, int bitsPerPixel) {
    Reset();
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_.Reset(CreateCompatibleDC(nullptr));
    if (!bitmap_ || !dc_ || !bits) {
        Reset();
        return false;
    }
    previous_ = SelectObject(dc_.Get(), bitmap_.Get());
    bits_ = static_cast<uint8_t*>(bits);
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    hasAlpha_ = false;
    return true;
}

void SkinImage::Reset() {
    if (dc_ && previous_) SelectObject(dc_.Get(), previous_);
    previous_ = nullptr;
    dc_.Reset();
    bitmap_.Reset();
    bits_ = nullptr;
    width_ = height_ = bitsPerPixel_ = 0;
    hasAlpha_ = false;
    if (usesGdiplus_) ReleaseGdiplus();
    usesGdiplus_ = false;
}

void SetSkinPack(const uint8_t* pack, size_t size) {
    g_pack = pack;
    g_packSize = size;
}

bool LoadSkinPackResource(HMODULE module) {
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(129), L"Skin");
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return false;
    SetSkinPack(static_cast<const uint8_t*>(data), SizeofResource(module, info));
    return true;
}

bool LoadSkinImage(const std::wstring& name, SkinImage& image) {
    image.Reset();
    std::optional<SkinEntry> entry = FindSkinEntry(g_pack, g_packSize, ToCodePage936(name));
    if (!entry) return false;
    if (!AcquireGdiplus()) return false;
    bool ok = false;
    {
        // The decoded bitmap goes before GDI+ may be shut down below.
        const UniqueGpBitmap decoded = DecodeImageBytes(entry->data, entry->size);
        ok = decoded && CopyDecoded(decoded.Get(), image);
    }
    if (!ok) {
        image.Reset();
        ReleaseGdiplus();
        return false;
    }
    image.MarkUsesGdiplus();
    return true;
}

}  // namespace setup
