// Images decoded by GDI+ from their file's bytes in memory (PNG, BMP...). GDI+ must be started (GdiplusUse.h).
#pragma once
#include <cstddef>

#include "common/GdiplusHandles.h"

// The bitmap, over a stream on a movable copy of the bytes that the stream frees once the bitmap lets go of
// it; empty when the bytes are no image GDI+ reads.
UniqueGpBitmap DecodeImageBytes(const void* bytes, size_t size);
