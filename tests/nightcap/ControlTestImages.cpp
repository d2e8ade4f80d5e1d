#include "tests/nightcap/ControlTestImages.h"

#include "common/GdiplusHandles.h"
#include "nightcap/controls/ControlsModule.h"
#include "nightcap/controls/MemoryStream.h"

using namespace nightcap;

using namespace Gdiplus::DllExports;

namespace {

bool PngEncoder(CLSID* clsid) {
    UINT count = 0, size = 0;
    if (GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i)
        if (wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    return false;
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

std::string BandsPng(int width, int height, const std::vector<Gdiplus::ARGB>& colours) {
    StartControlsModule();
    UniqueGpBitmap bitmap;
    if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, bitmap.Receive()) != Gdiplus::Ok)
        return {};
    int band = width / static_cast<int>(colours.size());
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            GdipBitmapSetPixel(bitmap.Get(), x, y, colours[std::min<size_t>(x / band, colours.size() - 1)]);
    CLSID png;
    MemoryStream stream;
    if (!PngEncoder(&png) || !stream.Open()) return {};
    if (GdipSaveImageToStream(bitmap.Get(), stream.Stream(), &png, nullptr) != Gdiplus::Ok) return {};
    return stream.ToBytes();
}

Gdiplus::ARGB ImagePixel(Gdiplus::GpImage* image, int x, int y) {
    Gdiplus::ARGB colour = 0;
    GdipBitmapGetPixel(static_cast<Gdiplus::GpBitmap*>(image), x, y, &colour);
    return colour;
}

HWND MakeTestWindow(int left, int top, int width, int height, COLORREF colour) {
    char className[32];
    wsprintfA(className, "ControlTest%06X", colour);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExA(GetModuleHandleA(nullptr), className, &wc)) {
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = CreateSolidBrush(colour);
        wc.lpszClassName = className;
        RegisterClassExA(&wc);
    }
    HWND hwnd = CreateWindowExA(0, className, "control test", WS_POPUP | WS_VISIBLE, left, top, width, height,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    PaintNow(hwnd);
    return hwnd;
}

void PaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}
