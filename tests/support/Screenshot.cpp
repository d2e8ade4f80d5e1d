#include "tests/support/Screenshot.h"

#include <gdiplus.h>

#include <vector>

#include "common/GdiplusUse.h"
#include "common/Handles.h"

namespace {

bool PngEncoder(CLSID* clsid) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i)
        if (wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    return false;
}

}  // namespace

bool SaveScreenshot(HWND hwnd, const std::wstring& pngPath) {
    RECT r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (hwnd && !GetWindowRect(hwnd, &r)) return false;
    return SaveScreenshot(r, pngPath);
}

bool SaveScreenshot(const RECT& r, const std::wstring& pngPath) {
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;

    WindowDc screen(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), w, h));
    if (!memory || !bitmap) return false;
    {
        ScopedSelect select(memory.Get(), bitmap.Get());
        if (!BitBlt(memory.Get(), 0, 0, w, h, screen.Get(), r.left, r.top, SRCCOPY)) return false;
    }
    GdiplusUse gdiplus;
    CLSID png;
    if (!gdiplus.Started() || !PngEncoder(&png)) return false;
    Gdiplus::Bitmap image(bitmap.Get(), nullptr);
    return image.Save(pngPath.c_str(), &png, nullptr) == Gdiplus::Ok;
}

COLORREF ScreenPixel(int x, int y) {
    WindowDc screen(nullptr);
    return GetPixel(screen.Get(), x, y);
}
