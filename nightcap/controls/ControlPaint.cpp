#include "nightcap/controls/ControlPaint.h"

#include <optional>

#include "common/GdiplusHandles.h"
#include "nightcap/controls/ButtonStates.h"
#include "nightcap/controls/ControlProperties.h"
#include "nightcap/controls/ImageGeometry.h"
#include "nightcap/controls/ImageLoading.h"

namespace nightcap {

using namespace Gdiplus::DllExports;

namespace {

PresentBlit g_present = ::BitBlt;

SIZE WindowSize(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

GpImage* ImageToDraw(HWND control) {
    if (PropValue(control, prop::kType) == kKindPictureBox) return PropAs<GpImage*>(control, prop::kBackImage);
    const char* byState[] = {prop::kNormalImage, prop::kOverImage, prop::kDownImage, prop::kDisableImage};
    INT_PTR state = PropValue(control, prop::kDrawState);
    GpImage* image = nullptr;
    if (state > kStateNormal && state <= kStateDisabled) image = PropAs<GpImage*>(control, byState[state]);
    return image ? image : PropAs<GpImage*>(control, prop::kNormalImage);
}

// Draws the cached background and the control's image onto a memory DC of the control's size.
void Compose(HWND control, HDC memory, HBITMAP cache, SIZE size) {
    UniqueGpGraphics graphics;
    if (GdipCreateFromHDC(memory, graphics.Receive()) != Gdiplus::Ok) return;
    {
        UniqueGpBitmap background;
        if (GdipCreateBitmapFromHBITMAP(cache, nullptr, background.Receive()) == Gdiplus::Ok)
            GdipDrawImageRectI(graphics.Get(), background.Get(), 0, 0, size.cx, size.cy);
    }
    GpImage* image = ImageToDraw(control);
    int iw = 0, ih = 0;
    if (ImageSize(image, &iw, &ih)) {
        PixelRect r = ImagePlacement(static_cast<int>(PropValue(control, prop::kBackType)), iw, ih, size.cx, size.cy);
        GdipDrawImageRectI(graphics.Get(), image, r.x, r.y, r.width, r.height);
    }
    GdipFlush(graphics.Get(), Gdiplus::FlushIntentionSync);
}

}  // namespace

PresentBlit SetPresentBlit(PresentBlit blit) {
    PresentBlit previous = g_present;
    g_present = blit ? blit : ::BitBlt;
    return previous;
}

void CaptureBackground(HWND control, HDC dc) {
    SIZE size = WindowSize(control);
    if (HBITMAP old = PropAs<HBITMAP>(control, prop::kCacheBitmap)) {
        DeleteObject(old);
        RemovePropA(control, prop::kCacheBitmap);
    }
    if (size.cx <= 0 || size.cy <= 0) return;
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap snapshot(CreateCompatibleBitmap(dc, size.cx, size.cy));
    if (!memory || !snapshot) return;
    {
        ScopedSelect select(memory.Get(), snapshot.Get());
        BitBlt(memory.Get(), 0, 0, size.cx, size.cy, dc, 0, 0, SRCCOPY);
    }
    SetPropA(control, prop::kCacheBitmap, snapshot.Release());
}

void PaintControl(HWND control, HDC dc) {
    HBITMAP cache = PropAs<HBITMAP>(control, prop::kCacheBitmap);
    if (!cache) return;
    HDC target = dc;
    std::optional<WindowDc> windowDc;
    if (!target) {
        windowDc.emplace(control, WindowDc::kWholeWindow);
        target = windowDc->Get();
    }
    if (!target) return;

    SIZE size = WindowSize(control);
    UniqueMemoryDc memory(CreateCompatibleDC(target));
    UniqueBitmap picture(CreateCompatibleBitmap(target, size.cx, size.cy));
    if (memory && picture) {
        ScopedSelect select(memory.Get(), picture.Get());
        Compose(control, memory.Get(), cache, size);
        g_present(target, 0, 0, size.cx, size.cy, memory.Get(), 0, 0, SRCCOPY);
    }
}

bool HandlePaintMessage(HWND control, UINT message, LRESULT* result) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(control, &ps);
        CaptureBackground(control, dc);
        PaintControl(control, dc);
        EndPaint(control, &ps);
        *result = 0;
        return true;
    }
    case WM_ERASEBKGND:
        *result = 1;
        return true;
    case WM_NCDESTROY:
        if (HBITMAP cache = PropAs<HBITMAP>(control, prop::kCacheBitmap)) DeleteObject(cache);
        RemovePropA(control, prop::kCacheBitmap);
        return false;
    }
    return false;
}

void RefreshUnder(HWND control) {
    HWND parent = GetParent(control);
    RECT r = {};
    if (!parent || !GetWindowRect(control, &r)) return;
    POINT topLeft = {r.left, r.top};
    ScreenToClient(parent, &topLeft);
    RECT area = {topLeft.x, topLeft.y, topLeft.x + (r.right - r.left), topLeft.y + (r.bottom - r.top)};
    InvalidateRect(parent, &area, TRUE);
}

}  // namespace nightcap
