#include "nightcap/controls/ImageControl.h"

#include <commctrl.h>

#include "nightcap/controls/ControlPaint.h"
#include "nightcap/controls/ControlProperties.h"

namespace nightcap {

namespace {

void SetStyleBits(HWND window, int index, LONG add, LONG remove) {
    LONG old = GetWindowLongA(window, index);
    LONG now = (old | add) & ~remove;
    if (now != old) SetWindowLongA(window, index, now);
}

// The parent of image controls: lets them be transparent and paints buttons on custom draw.
LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header && header->code == static_cast<UINT>(NM_CUSTOMDRAW) &&
            PropValue(header->hwndFrom, prop::kType) == kKindButton)
            PaintControl(header->hwndFrom);
        break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        if (PropValue(reinterpret_cast<HWND>(lParam), prop::kType) != kKindNone) {
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        }
        break;
    }
    return CallPreviousProc(hwnd, message, wParam, lParam);
}

}  // namespace

bool SubclassWindow(HWND window, WNDPROC handler) {
    if (GetPropA(window, prop::kWndProc)) return false;
    LONG_PTR old = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(handler));
    SetPropA(window, prop::kWndProc, reinterpret_cast<HANDLE>(old));
    return true;
}

LRESULT CallPreviousProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = PropAs<WNDPROC>(window, prop::kWndProc);
    if (!previous) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

bool ImageControl::AttachWindow(HWND window) {
    if (!IsWindow(window)) return false;
    HWND parent = GetParent(window);
    if (parent && PropValue(parent, prop::kType) == kKindNone) SubclassWindow(parent, ParentProc);
    SetStyleBits(window, GWL_STYLE, 0, WS_CLIPSIBLINGS);
    SetStyleBits(window, GWL_EXSTYLE, WS_EX_TRANSPARENT, 0);
    if (parent) SetStyleBits(parent, GWL_STYLE, 0, WS_CLIPCHILDREN);
    hwnd_ = window;
    return true;
}

void ImageControl::SetProperty(const char* name, HANDLE value) { SetPropA(hwnd_, name, value); }

HANDLE ImageControl::GetProperty(const char* name) const { return GetPropA(hwnd_, name); }

LRESULT ImageControl::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(hwnd_, message, wParam, lParam);
}

LRESULT ImageControl::SendToWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(hwnd_, message, wParam, lParam);
}

void ImageControl::SetBounds(std::optional<int> left, std::optional<int> top, std::optional<int> width,
                             std::optional<int> height, bool noRedraw) {
    RECT r = {};
    if (!GetWindowRect(hwnd_, &r)) return;
    POINT topLeft = {r.left, r.top};
    if (HWND parent = GetParent(hwnd_)) ScreenToClient(parent, &topLeft);
    UINT flags = SWP_NOZORDER;
    if (noRedraw) flags |= SWP_NOREDRAW;
    if (!left && !top) flags |= SWP_NOMOVE;
    if (!width && !height) flags |= SWP_NOSIZE;
    SetWindowPos(hwnd_, nullptr, left.value_or(topLeft.x), top.value_or(topLeft.y),
                 width.value_or(r.right - r.left), height.value_or(r.bottom - r.top), flags);
}

bool ImageControl::IsValid() const { return IsWindow(hwnd_) == TRUE; }

void ImageControl::Redraw() { InvalidateRect(hwnd_, nullptr, FALSE); }

}  // namespace nightcap
