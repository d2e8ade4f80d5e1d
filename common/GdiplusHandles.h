// Owners of GDI+ flat-API objects (images, bitmaps, graphics), in the style of Handles.h.
#pragma once
#include <windows.h>
#include <gdiplus.h>

#include "common/Handles.h"

struct GdipImageTraits {
    using Handle = Gdiplus::GpImage*;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { Gdiplus::DllExports::GdipDisposeImage(h); }
};
using UniqueGpImage = UniqueResource<GdipImageTraits>;

struct GdipBitmapTraits {
    using Handle = Gdiplus::GpBitmap*;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { Gdiplus::DllExports::GdipDisposeImage(h); }
};
using UniqueGpBitmap = UniqueResource<GdipBitmapTraits>;

struct GdipGraphicsTraits {
    using Handle = Gdiplus::GpGraphics*;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { Gdiplus::DllExports::GdipDeleteGraphics(h); }
};
using UniqueGpGraphics = UniqueResource<GdipGraphicsTraits>;
