#include "engine/UiImage.h"

#include "common/ImageBytes.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

UniqueGpBitmap DecodeImage(const std::string& bytes) {
    UniqueGpBitmap result;
    const UniqueGpBitmap decoded = DecodeImageBytes(bytes.data(), bytes.size());
    if (!decoded) return result;
    UINT width = 0, height = 0;
    GdipGetImageWidth(decoded.Get(), &width);
    GdipGetImageHeight(decoded.Get(), &height);
    if (width == 0 || height == 0 || width > 8192 || height > 8192) return result;
    // A copy in memory of our own: the decoded image may go on reading the stream.
    UniqueGpBitmap copy;
    if (GdipCreateBitmapFromScan0(INT(width), INT(height), 0, PixelFormat32bppPARGB, nullptr, copy.Receive()) != Ok)
        return result;
    GpGraphics* raw = nullptr;
    if (GdipGetImageGraphicsContext(copy.Get(), &raw) != Ok) return result;
    UniqueGpGraphics graphics(raw);
    GdipDrawImageRectI(graphics.Get(), decoded.Get(), 0, 0, INT(width), INT(height));
    return copy;
}

void DrawImagePart(HDC dc, GpBitmap* image, int x, int y, int w, int h, int sx, int sy, int sw, int sh) {
    if (!image || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
    GpGraphics* raw = nullptr;
    if (GdipCreateFromHDC(dc, &raw) != Ok) return;
    UniqueGpGraphics graphics(raw);
    GdipSetInterpolationMode(graphics.Get(), InterpolationModeBilinear);
    GdipSetPixelOffsetMode(graphics.Get(), PixelOffsetModeHalf);
    GdipDrawImageRectRectI(graphics.Get(), image, x, y, w, h, sx, sy, sw, sh, UnitPixel, nullptr, nullptr, nullptr);
}

bool ImageSize(GpBitmap* image, int* width, int* height) {
    UINT w = 0, h = 0;
    if (!image || GdipGetImageWidth(image, &w) != Ok || GdipGetImageHeight(image, &h) != Ok) return false;
    *width = int(w);
    *height = int(h);
    return true;
}
