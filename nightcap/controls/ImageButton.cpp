#include "nightcap/controls/ImageButton.h"

#include <commctrl.h>

#include "common/GdiplusHandles.h"
#include "nightcap/controls/ButtonStates.h"
#include "nightcap/controls/ControlPaint.h"
#include "nightcap/controls/ControlProperties.h"
#include "nightcap/controls/ImageGeometry.h"

namespace nightcap {

using namespace Gdiplus::DllExports;

namespace {

void SetState(HWND hwnd, int state, bool force) {
    if (PropValue(hwnd, prop::kDrawState) != state) {
        SetPropValue(hwnd, prop::kDrawState, state);
        RefreshUnder(hwnd);
    } else if (force) {
        RefreshUnder(hwnd);
    }
}

void FollowMessage(HWND hwnd, UINT message, WPARAM wParam, int stateBefore) {
    ButtonTransition t = ButtonTransitionFor(message, wParam, stateBefore, PropValue(hwnd, prop::kIsFocus) != 0);
    if (!t.changes) return;
    if (t.trackLeave) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
    }
    SetState(hwnd, t.state, t.force);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandlePaintMessage(hwnd, message, &result)) return result;
    int state = static_cast<int>(PropValue(hwnd, prop::kDrawState));
    switch (message) {
    case WM_NCPAINT:
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        SetPropValue(hwnd, prop::kIsFocus, message == WM_SETFOCUS ? 1 : 0);
        FollowMessage(hwnd, message, wParam, state);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSELEAVE:
    case WM_ENABLE: {
        result = CallPreviousProc(hwnd, message, wParam, lParam);
        FollowMessage(hwnd, message, wParam, state);
        return result;
    }
    case BM_SETSTATE: {
        result = CallPreviousProc(hwnd, message, wParam, lParam);
        FollowMessage(hwnd, message, wParam, state);
        PaintControl(hwnd);
        return result;
    }
    }
    return CallPreviousProc(hwnd, message, wParam, lParam);
}

GpImage* CutFrame(GpImage* strip, const PixelRect& source) {
    Gdiplus::GpBitmap* frame = nullptr;
    if (GdipCreateBitmapFromScan0(source.width, source.height, 0, PixelFormat32bppARGB, nullptr, &frame) !=
        Gdiplus::Ok)
        return nullptr;
    UniqueGpGraphics graphics;
    if (GdipGetImageGraphicsContext(frame, graphics.Receive()) == Gdiplus::Ok)
        GdipDrawImageRectRect(graphics.Get(), strip, 0, 0, source.width, source.height, source.x, source.y,
                              source.width, source.height, Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
    return frame;
}

}  // namespace

HWND ImageButton::Create(HWND parent, int left, int top, int width, int height, const char* caption) {
    HWND window = CreateWindowExA(WS_EX_TRANSPARENT, "Button", caption, WS_CHILD | WS_VISIBLE, left, top, width,
                                  height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window) Attach(window);
    return window;
}

bool ImageButton::Attach(HWND window, GpImage* normal) {
    if (!AttachWindow(window)) return false;
    SetPropValue(window, prop::kType, kKindButton);
    if (normal) SetPropA(window, prop::kNormalImage, normal);
    SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) | BS_OWNERDRAW);
    SubclassWindow(window, ButtonProc);
    RefreshUnder(window);
    return true;
}

void ImageButton::SetStateImages(GpImage* normal, GpImage* over, GpImage* down, GpImage* disabled) {
    const char* names[] = {prop::kNormalImage, prop::kOverImage, prop::kDownImage, prop::kDisableImage};
    GpImage* images[] = {normal, over, down, disabled};
    for (int i = 0; i < 4; ++i)
        if (images[i]) SetPropA(hwnd_, names[i], images[i]);
}

void ImageButton::LoadStateImages(const std::string& normal, const std::string& over, const std::string& down,
                                  const std::string& disabled) {
    SetStateImages(LoadImageFromBytes(normal), LoadImageFromBytes(over), LoadImageFromBytes(down),
                   LoadImageFromBytes(disabled));
}

std::vector<GpImage*> CutStateStrip(const std::string& bytes, int count, bool vertical, int gap) {
    GpImage* strip = LoadImageFromBytes(bytes);
    int width = 0, height = 0;
    if (!ImageSize(strip, &width, &height)) {
        ReleaseImage(strip);
        return {};
    }
    if (count <= 1) return {strip};
    std::vector<GpImage*> frames;
    for (const PixelRect& source : StripFrames(width, height, count, vertical, gap))
        frames.push_back(CutFrame(strip, source));
    ReleaseImage(strip);  // the frames are copies
    return frames;
}

void ImageButton::LoadStateStrip(const std::string& bytes, int count, bool vertical, int gap) {
    std::vector<GpImage*> frames = CutStateStrip(bytes, count, vertical, gap);
    frames.resize(4, nullptr);
    SetStateImages(frames[0], frames[1], frames[2], frames[3]);
}

void ImageButton::SetBackType(int type) { SetPropValue(hwnd_, prop::kBackType, type); }

}  // namespace nightcap
