#include "engine/UiControl.h"

#include <algorithm>

#include "common/TextConvert.h"
#include "engine/LayoutResources.h"

namespace {
constexpr wchar_t kControlClass[] = L"XLUE.Control";
}  // namespace

UiControl::~UiControl() {
    // No message reaches the rest of a control being destroyed.
    if (hwnd_) ::SetWindowLongPtrW(hwnd_.Get(), GWLP_USERDATA, 0);
}

bool UiControl::Create(const LayoutItem& item, HWND parent, HDC background, std::wstring* error) {
    RegisterToolkitClass(kControlClass, ToolkitWindowProc<UiControl>);
    LayoutRect r;
    if (!item.Find(u"rect") || !ParseRect(*item.Find(u"rect"), &r)) {
        *error = L"a control without a rect: " + ToWide(item.kind);
        return false;
    }
    id_ = WideToUtf8(ToWide(PropertyOr(item, u"id", u"")));
    text_ = ToWide(PropertyOr(item, u"text", u""));
    font_ = MakeFont(PropertyOr(item, u"font", u"12"));
    uint32_t rgb;
    if (const std::u16string* c = item.Find(u"color"); c && ParseColor(*c, &rgb)) color_ = ToColorRef(rgb);
    const std::u16string& align = PropertyOr(item, u"align", u"left");
    align_ = align == u"center" ? DT_CENTER : align == u"right" ? DT_RIGHT : DT_LEFT;
    if (!ReadKindProperties(item, error)) return false;

    background_ = background;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | KindStyle();
    if (PropertyOr(item, u"hidden", u"") != u"1") style |= WS_VISIBLE;
    // The control owns its window from WM_NCCREATE on; a window that fails after that is gone already.
    if (!::CreateWindowExW(0, kControlClass, text_.c_str(), style, r.x, r.y, r.width, r.height, parent, nullptr,
                           ::GetModuleHandleW(nullptr), this)) {
        hwnd_.Release();
        *error = L"cannot create a control";
        return false;
    }
    return true;
}

void UiControl::SetText(const std::wstring& text) {
    text_ = text;
    ::SetWindowTextW(hwnd_.Get(), text.c_str());
    Invalidate();
}

void UiControl::SetVisible(bool visible) { ::ShowWindow(hwnd_.Get(), visible ? SW_SHOWNA : SW_HIDE); }

void UiControl::SetEnabled(bool enabled) { ::EnableWindow(hwnd_.Get(), enabled); }

void UiControl::DrawOwnText(HDC dc, RECT box, UINT format, bool enabled) const {
    if (text_.empty()) return;
    ScopedSelect font(dc, font_.Get());
    ::SetBkMode(dc, TRANSPARENT);
    COLORREF color = color_;
    if (!enabled) color = RGB(GetRValue(color) / 2 + 40, GetGValue(color) / 2 + 40, GetBValue(color) / 2 + 40);
    ::SetTextColor(dc, color);
    ::DrawTextW(dc, text_.c_str(), int(text_.size()), &box, DT_NOPREFIX | format);
}

// Off screen first, so the background and the control over it reach the screen together.
void UiControl::OnPaint() {
    PAINTSTRUCT ps;
    const HDC dc = ::BeginPaint(hwnd_.Get(), &ps);
    RECT client;
    ::GetClientRect(hwnd_.Get(), &client);
    const int w = client.right, h = client.bottom;
    UniqueMemoryDc memory(::CreateCompatibleDC(dc));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(dc, std::max(w, 1), std::max(h, 1)));
    if (memory && bitmap) {
        ScopedSelect selectBitmap(memory.Get(), bitmap.Get());
        // What lies under the client area (a text view's scroll bar is not part of it).
        POINT origin = {0, 0};
        ::MapWindowPoints(hwnd_.Get(), ::GetParent(hwnd_.Get()), &origin, 1);
        ::BitBlt(memory.Get(), 0, 0, w, h, background_, origin.x, origin.y, SRCCOPY);
        Paint(memory.Get(), w, h, ::IsWindowEnabled(hwnd_.Get()) != FALSE);
        ::BitBlt(dc, 0, 0, w, h, memory.Get(), 0, 0, SRCCOPY);
    }
    ::EndPaint(hwnd_.Get(), &ps);
}

LRESULT UiControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ENABLE:
        Invalidate();
        return 0;
    // The mouse and scrolling do nothing but where a kind handles them.
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case BM_CLICK:
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
        return 0;
    }
    return ::DefWindowProcW(hwnd_.Get(), message, wParam, lParam);
}
