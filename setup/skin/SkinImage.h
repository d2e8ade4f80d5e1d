// A picture of the skin as a top-down device-independent bitmap selected into its own memory DC.
#pragma once
#include <windows.h>

#include <string>

#include "common/Handles.h"

namespace setup {

class SkinImage {
public:
    SkinImage() = default;
    SkinImage(const SkinImage&) = delete;
    SkinImage& operator=(const SkinImage&) = delete;
    ~SkinImage();

    // A blank 32-bit (or 24-bit) image of the given size; replaces any earlier content.
    bool Create(int width, int height, int bitsPerPixel = 32);
    void Reset();

    bool Empty() const { return !bitmap_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    bool HasAlpha() const { return hasAlpha_; }
    void SetHasAlpha(bool alpha) { hasAlpha_ = alpha; }
    uint8_t* Bits() const { return bits_; }
    HDC Dc() const { return dc_.Get(); }
    // The image keeps GDI+ running until it is reset (it was decoded by GDI+).
    void MarkUsesGdiplus() { usesGdiplus_ = true; }

private:
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    bool hasAlpha_ = false;
    bool usesGdiplus_ = false;
    uint8_t* bits_ = nullptr;
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
};

// The pack every picture is read from: the "SKIN" resource, set once at start-up.
void SetSkinPack(const uint8_t* pack, size_t size);
// Loads the pack's resource 129 of type "Skin" from the module; false when it is missing.
bool LoadSkinPackResource(HMODULE module);

// Decodes the PNG called name (converted to code page 936 for the lookup) into image (32 bits with
// alpha for pictures with alpha). False, with an empty image, when the picture is missing or undecodable.
bool LoadSkinImage(const std::wstring& name, SkinImage& image);

}  // namespace setup
