#include "nightcap/app/SliderAnimationFrame.h"

#include <windowsx.h>

#include <algorithm>

#include "common/GdiplusHandles.h"
#include "nightcap/controls/ImageLoading.h"

namespace nightcap {

using namespace Gdiplus::DllExports;

namespace {

constexpr const char* kClassName = "NightcapAnimationFrame";
constexpr COLORREF kSeeThrough = RGB(255, 255, 255);

bool RegisterFrameClass(WNDPROC proc) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kClassName, &wc)) return true;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExA(&wc) != 0;
}

// A copy of the image stretched to width x height by repeating pixels. Stretching in GDI+ itself blends
// or drops the edge columns, and a blend with the white beneath would not be see-through.
UniqueGpBitmap ScaledCopy(Gdiplus::GpImage* image, int width, int height) {
    int w = 0, h = 0;
    UniqueGpBitmap source, scaled;
    if (!ImageSize(image, &w, &h) ||
        GdipCloneBitmapAreaI(0, 0, w, h, PixelFormat32bppARGB, static_cast<Gdiplus::GpBitmap*>(image),
                             source.Receive()) != Gdiplus::Ok ||
        GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, scaled.Receive()) != Gdiplus::Ok)
        return {};
    Gdiplus::Rect all(0, 0, w, h), target(0, 0, width, height);
    Gdiplus::BitmapData in = {}, out = {};
    if (GdipBitmapLockBits(source.Get(), &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &in) != Gdiplus::Ok)
        return {};
    if (GdipBitmapLockBits(scaled.Get(), &target, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &out) ==
        Gdiplus::Ok) {
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<UINT32*>(static_cast<BYTE*>(out.Scan0) + y * out.Stride);
            auto* from = reinterpret_cast<const UINT32*>(static_cast<BYTE*>(in.Scan0) +
                                                         static_cast<long long>(y) * h / height * in.Stride);
            for (int x = 0; x < width; ++x) row[x] = from[static_cast<long long>(x) * w / width];
        }
        GdipBitmapUnlockBits(scaled.Get(), &out);
    }
    GdipBitmapUnlockBits(source.Get(), &in);
    return scaled;
}

}  // namespace

HWND AnimationFrame::Create(HWND parent, int left, int top, int width, int height) {
    if (!RegisterFrameClass(Proc)) return nullptr;
    hwnd_ = CreateWindowExA(0, kClassName, "UI动画框", WS_CHILD | WS_VISIBLE, left, top, width, height, parent,
                            nullptr, GetModuleHandleA(nullptr), this);
    return hwnd_;
}

int AnimationFrame::AddObject(Gdiplus::GpImage* image, int x, int y, int layer) {
    objects_.push_back({image, x, y, layer});
    Invalidate();
    return static_cast<int>(objects_.size()) - 1;
}

void AnimationFrame::SetPicture(int object, Gdiplus::GpImage* image) {
    if (!Valid(object) || objects_[object].image == image) return;
    objects_[object].image = image;
    Invalidate();
}

void AnimationFrame::SetPosition(int object, int x, int y) {
    if (!Valid(object)) return;
    objects_[object].x = x;
    objects_[object].y = y;
    Invalidate();
}

void AnimationFrame::SetScale(int object, int horizontal, int vertical) {
    if (!Valid(object)) return;
    if (horizontal != 0) objects_[object].scaleX = horizontal;
    if (vertical != 0) objects_[object].scaleY = vertical;
    Invalidate();
}

POINT AnimationFrame::Position(int object) const {
    if (!Valid(object)) return {0, 0};
    return {objects_[object].x, objects_[object].y};
}

SIZE AnimationFrame::DrawnSize(int object) const {
    int w = 0, h = 0;
    if (!Valid(object) || !ImageSize(objects_[object].image, &w, &h)) return {0, 0};
    return {static_cast<LONG>(static_cast<long long>(w) * objects_[object].scaleX / 1000),
            static_cast<LONG>(static_cast<long long>(h) * objects_[object].scaleY / 1000)};
}

std::vector<int> AnimationFrame::DrawingOrder() const {
    std::vector<int> order(objects_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return objects_[a].layer < objects_[b].layer; });
    return order;
}

int AnimationFrame::ObjectAt(int x, int y) const {
    std::vector<int> order = DrawingOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        POINT at = Position(*it);
        SIZE size = DrawnSize(*it);
        if (x >= at.x && x < at.x + size.cx && y >= at.y && y < at.y + size.cy) return *it;
    }
    return kNoObject;
}

void AnimationFrame::Invalidate() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void AnimationFrame::Paint(HDC dc) {
    RECT client;
    GetClientRect(hwnd_, &client);
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap picture(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (!memory || !picture) return;
    ScopedSelect select(memory.Get(), picture.Get());
    UniqueBrush white(CreateSolidBrush(kSeeThrough));
    FillRect(memory.Get(), &client, white.Get());
    {
        UniqueGpGraphics graphics;
        if (GdipCreateFromHDC(memory.Get(), graphics.Receive()) != Gdiplus::Ok) return;
        for (int i : DrawingOrder()) {
            const Object& o = objects_[i];
            SIZE size = DrawnSize(i);
            if (size.cx <= 0 || size.cy <= 0) continue;
            if (o.scaleX == 1000 && o.scaleY == 1000) {
                GdipDrawImageRectI(graphics.Get(), o.image, o.x, o.y, size.cx, size.cy);
                continue;
            }
            UniqueGpBitmap scaled = ScaledCopy(o.image, size.cx, size.cy);
            if (scaled) GdipDrawImageRectI(graphics.Get(), scaled.Get(), o.x, o.y, size.cx, size.cy);
        }
        GdipFlush(graphics.Get(), Gdiplus::FlushIntentionSync);
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK AnimationFrame::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<AnimationFrame*>(create->lpCreateParams)->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<AnimationFrame*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT AnimationFrame::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        Paint(dc);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        SetCapture(hwnd_);
        if (onPress_) onPress_(ObjectAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd_)
            ReleaseCapture();  // reported as the release below
        else if (onRelease_)
            onRelease_();
        return 0;
    case WM_CAPTURECHANGED:
        // Also when another window takes the mouse: the button may then go up where this frame never hears of it.
        if (onRelease_) onRelease_();
        return 0;
    case WM_MOUSEMOVE:
        if (onMove_) onMove_(GET_X_LPARAM(lParam));
        return 0;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace nightcap
