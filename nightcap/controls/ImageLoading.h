// Images for the controls, decoded by GDI+ from bytes in memory.
#pragma once
#include <windows.h>
#include <gdiplus.h>

#include <string>

namespace nightcap {

using GpImage = Gdiplus::GpImage;

// Decodes PNG (or any format GDI+ reads) bytes; an animated image shows its first frame.
// Returns null when the bytes cannot be decoded. The image keeps its stream and memory until ReleaseImage.
GpImage* LoadImageFromBytes(const void* bytes, size_t size);
inline GpImage* LoadImageFromBytes(const std::string& bytes) { return LoadImageFromBytes(bytes.data(), bytes.size()); }

// Disposes of an image with the stream and memory it was loaded from. Null is ignored.
void ReleaseImage(GpImage* image);

// The image's size in pixels; false (and 0 x 0) for a null or broken image.
bool ImageSize(GpImage* image, int* width, int* height);

// The bytes of a resource of this program (type RT_RCDATA unless given), empty when it is missing.
std::string ResourceBytes(int id, LPCSTR type = MAKEINTRESOURCEA(10));

}  // namespace nightcap
