// PNG (or any GDI+ format) images decoded from package bytes, and drawing them.
#pragma once
#include <windows.h>

#include <string>

#include "common/GdiplusHandles.h"

// A bitmap of its own (not tied to the bytes); empty when the bytes are no image.
UniqueGpBitmap DecodeImage(const std::string& bytes);
// Draws the source part (sx, sy, sw, sh) of image stretched over (x, y, w, h) of dc, blending by its alpha.
void DrawImagePart(HDC dc, Gdiplus::GpBitmap* image, int x, int y, int w, int h, int sx, int sy, int sw, int sh);
bool ImageSize(Gdiplus::GpBitmap* image, int* width, int* height);
