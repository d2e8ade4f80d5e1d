#include "engine/UiWindow.h"

#include <windowsx.h>

#include <algorithm>

#include "common/TextConvert.h"
#include "engine/LuaHost.h"
#include "engine/UiImage.h"

namespace {
constexpr wchar_t kWindowClass[] = L"XLUE.Window";
constexpr wchar_t kControlClass[] = L"XLUE.Control";
constexpr UINT kDestroyLater = WM_APP + 0x40;
constexpr wchar_t kFontFace[] = L"Microsoft YaHei";

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

const std::u16string& PropertyOr(const LayoutItem& item, const std::u16string& name, const std::u16string& fallback) {
    const std::u16string* value = item.Find(name);
    return value ? *value : fallback;
}

COLORREF ToColorRef(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// "size" or "size,bold": a font of that pixel height in our face, with the Chinese character set.
UniqueFont MakeFont(const std::u16string& fontText) {
    int size = 12;
    bool bold = false;
    const size_t comma = fontText.find(u',');
    if (comma != std::u16string::npos) bold = fontText.substr(comma + 1).find(u"bold") != std::u16string::npos;
    int parsed = 0;
    if (ParseNumber(fontText.substr(0, comma), &parsed) && parsed > 0 && parsed <= 200) size = parsed;
    return UniqueFont(::CreateFontW(-size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                                    kFontFace));
}

UniqueGpBitmap ImageFromPackage(const std::u16string* name, std::wstring* error) {
    if (!name) return {};
    const std::string* bytes = PackageFile(Wide(*name));
    UniqueGpBitmap image = bytes ? DecodeImage(*bytes) : UniqueGpBitmap();
    if (!image) *error = L"cannot read the image " + Wide(*name);
    return image;
}

void RegisterClasses(WNDPROC windowProc, WNDPROC controlProc) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSW wc = {};
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpfnWndProc = windowProc;
    wc.lpszClassName = kWindowClass;
    wc.hIcon = ::LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    ::RegisterClassW(&wc);
    wc.hIcon = nullptr;
    wc.lpfnWndProc = controlProc;
    wc.lpszClassName = kControlClass;
    ::RegisterClassW(&wc);
    registered = true;
}
}  // namespace

void CallLuaRef(int ref, const wchar_t* context, bool withNumber, lua_Integer number) {
    lua_State* L = Host().L;
    if (!L || ref == LUA_NOREF || ref == LUA_REFNIL) return;
    const int top = lua_gettop(L);
    lua_rawgeti(L, LUA_REGISTRYINDEX, ref);
    if (withNumber) lua_pushinteger(L, number);
    ProtectedCall(L, withNumber ? 1 : 0, 0, context);
    lua_settop(L, top);
}

void CloseUiWindowLater(UiWindow* window) {
    if (!window->Hwnd()) return;
    ::ShowWindow(window->Hwnd(), SW_HIDE);
    ::PostMessageW(window->Hwnd(), kDestroyLater, 0, 0);
}

bool UiWindow::Create(const std::vector<LayoutItem>& items, std::wstring* error) {
    RegisterClasses(WindowProc, ControlProc);
    auto window = std::find_if(items.begin(), items.end(), [](const LayoutItem& i) { return i.kind == u"window"; });
    LayoutRect size;
    if (window == items.end() || !window->Find(u"size") || !ParseSize(*window->Find(u"size"), &size) ||
        size.width == 0 || size.height == 0) {
        *error = L"the layout has no window with a size";
        return false;
    }
    width_ = size.width;
    height_ = size.height;
    if (!ComposeBackground(*window, items, error)) return false;

    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + std::max(0, int(work.right - work.left - width_) / 2);
    const int y = work.top + std::max(0, int(work.bottom - work.top - height_) / 2);
    const std::wstring title = Wide(PropertyOr(*window, u"title", u""));
    hwnd_ = ::CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, title.c_str(),
                              WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, x, y, width_, height_,
                              nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    if (!hwnd_) {
        *error = L"cannot create the window";
        return false;
    }
    int radius = 0;
    if (const std::u16string* r = window->Find(u"corner"); r && ParseNumber(*r, &radius) && radius > 0)
        ::SetWindowRgn(hwnd_, ::CreateRoundRectRgn(0, 0, width_ + 1, height_ + 1, radius, radius), FALSE);
    for (const LayoutItem& item : items) {
        if (item.kind == u"window" || item.kind == u"image") continue;
        if (!AddControl(item, error)) return false;
    }
    return true;
}

UiWindow::~UiWindow() {
    lua_State* L = Host().L;
    if (L) {
        luaL_unref(L, LUA_REGISTRYINDEX, closeRef);
        for (auto& [timer, ref] : timerRefs) luaL_unref(L, LUA_REGISTRYINDEX, ref);
        for (auto& control : controls_) luaL_unref(L, LUA_REGISTRYINDEX, control->clickRef);
    }
    if (hwnd_) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        for (auto& control : controls_)
            if (control->hwnd) ::SetWindowLongPtrW(control->hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

bool UiWindow::ComposeBackground(const LayoutItem& window, const std::vector<LayoutItem>& items, std::wstring* error) {
    WindowDc screen(nullptr);
    background_.Reset(::CreateCompatibleBitmap(screen.Get(), width_, height_));
    backgroundDc_.Reset(::CreateCompatibleDC(screen.Get()));
    if (!background_ || !backgroundDc_) {
        *error = L"no memory for the window";
        return false;
    }
    ::SelectObject(backgroundDc_.Get(), background_.Get());
    uint32_t rgb = 0x101c33;
    if (const std::u16string* c = window.Find(u"color")) ParseColor(*c, &rgb);
    UniqueBrush brush(::CreateSolidBrush(ToColorRef(rgb)));
    RECT all = {0, 0, width_, height_};
    ::FillRect(backgroundDc_.Get(), &all, brush.Get());
    if (const std::u16string* name = window.Find(u"background")) {
        UniqueGpBitmap image = ImageFromPackage(name, error);
        int w, h;
        if (!image || !ImageSize(image.Get(), &w, &h)) return false;
        DrawImagePart(backgroundDc_.Get(), image.Get(), 0, 0, width_, height_, 0, 0, w, h);
    }
    for (const LayoutItem& item : items) {
        if (item.kind != u"image") continue;
        LayoutRect r;
        UniqueGpBitmap image = ImageFromPackage(item.Find(u"src"), error);
        int w, h;
        if (!item.Find(u"rect") || !ParseRect(*item.Find(u"rect"), &r) || !image || !ImageSize(image.Get(), &w, &h)) {
            if (error->empty()) *error = L"an image without a rect or source";
            return false;
        }
        DrawImagePart(backgroundDc_.Get(), image.Get(), r.x, r.y, r.width, r.height, 0, 0, w, h);
    }
    return true;
}

bool UiWindow::AddControl(const LayoutItem& item, std::wstring* error) {
    auto control = std::make_unique<UiControl>();
    control->owner = this;
    if (item.kind == u"label") control->kind = ControlKind::kLabel;
    else if (item.kind == u"textview") control->kind = ControlKind::kTextView;
    else if (item.kind == u"button") control->kind = ControlKind::kButton;
    else if (item.kind == u"progress") control->kind = ControlKind::kProgress;
    else return true;  // unknown kinds are left out
    LayoutRect r;
    if (!item.Find(u"rect") || !ParseRect(*item.Find(u"rect"), &r)) {
        *error = L"a control without a rect: " + Wide(item.kind);
        return false;
    }
    control->rect = {r.x, r.y, r.x + r.width, r.y + r.height};
    const std::u16string id = PropertyOr(item, u"id", u"");
    control->id = WideToUtf8(Wide(id));
    control->text = Wide(PropertyOr(item, u"text", u""));
    control->font = MakeFont(PropertyOr(item, u"font", u"12"));
    uint32_t rgb;
    if (const std::u16string* c = item.Find(u"color"); c && ParseColor(*c, &rgb)) control->color = ToColorRef(rgb);
    const std::u16string& align = PropertyOr(item, u"align", u"left");
    control->align = align == u"center" ? DT_CENTER : align == u"right" ? DT_RIGHT : DT_LEFT;
    if (control->kind == ControlKind::kButton) {
        if (!(control->image = ImageFromPackage(item.Find(u"image"), error))) {
            if (error->empty()) *error = L"a button without an image";
            return false;
        }
        control->align = DT_CENTER;
    }
    if (control->kind == ControlKind::kProgress) {
        control->image = ImageFromPackage(item.Find(u"track"), error);
        control->fill = ImageFromPackage(item.Find(u"fill"), error);
        if (!control->image || !control->fill) {
            if (error->empty()) *error = L"a progress bar needs a track and a fill";
            return false;
        }
    }
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (PropertyOr(item, u"hidden", u"") != u"1") style |= WS_VISIBLE;
    if (control->kind == ControlKind::kTextView) style |= WS_VSCROLL;
    UiControl* raw = control.get();
    controls_.push_back(std::move(control));
    raw->hwnd = ::CreateWindowExW(0, kControlClass, raw->text.c_str(), style, r.x, r.y, r.width, r.height, hwnd_,
                                  nullptr, ::GetModuleHandleW(nullptr), raw);
    if (!raw->hwnd) {
        *error = L"cannot create a control";
        return false;
    }
    if (raw->kind == ControlKind::kTextView) MeasureText(*raw);
    return true;
}

UiControl* UiWindow::FindControl(const std::string& id) {
    for (auto& control : controls_)
        if (control->id == id) return control.get();
    return nullptr;
}

size_t UiWindow::IndexOf(const UiControl* control) const {
    for (size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i].get() == control) return i;
    return size_t(-1);
}

void UiWindow::SetControlText(UiControl& control, const std::wstring& text) {
    control.text = text;
    ::SetWindowTextW(control.hwnd, text.c_str());
    if (control.kind == ControlKind::kTextView) {
        control.scrollY = 0;
        MeasureText(control);
    }
    ::InvalidateRect(control.hwnd, nullptr, FALSE);
}

void UiWindow::SetProgress(UiControl& control, int percent) {
    control.progress = std::clamp(percent, 0, 100);
    ::SetWindowTextW(control.hwnd, (std::to_wstring(control.progress) + L"%").c_str());
    ::InvalidateRect(control.hwnd, nullptr, FALSE);
}

void UiWindow::MeasureText(UiControl& control) {
    RECT client;
    ::GetClientRect(control.hwnd, &client);
    WindowDc dc(control.hwnd);
    ScopedSelect font(dc.Get(), control.font.Get());
    RECT measure = {0, 0, client.right - 4, 0};
    ::DrawTextW(dc.Get(), control.text.c_str(), int(control.text.size()), &measure,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    control.contentHeight = measure.bottom;
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL};
    si.nMin = 0;
    si.nMax = std::max(0, control.contentHeight - 1);
    si.nPage = UINT(client.bottom);
    si.nPos = control.scrollY;
    ::SetScrollInfo(control.hwnd, SB_VERT, &si, TRUE);
}

void UiWindow::ScrollTextView(UiControl& control, int position) {
    RECT client;
    ::GetClientRect(control.hwnd, &client);
    const int limit = std::max(0, control.contentHeight - int(client.bottom));
    control.scrollY = std::clamp(position, 0, limit);
    SCROLLINFO si = {sizeof si, SIF_POS};
    si.nPos = control.scrollY;
    ::SetScrollInfo(control.hwnd, SB_VERT, &si, TRUE);
    ::InvalidateRect(control.hwnd, nullptr, FALSE);
}

void UiWindow::Click(UiControl& control) {
    if (!::IsWindowEnabled(control.hwnd)) return;
    const std::wstring context = L"OnClick " + Utf8ToWide(control.id);
    CallLuaRef(control.clickRef, context.c_str());
}

void UiWindow::PaintControl(UiControl& control, HDC dc) {
    RECT client;
    ::GetClientRect(control.hwnd, &client);
    const int w = client.right, h = client.bottom;
    UniqueMemoryDc memory(::CreateCompatibleDC(dc));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(dc, std::max(w, 1), std::max(h, 1)));
    if (!memory || !bitmap) return;
    ScopedSelect selectBitmap(memory.Get(), bitmap.Get());
    // What lies under the control, in client coordinates of the control (a text view's scroll bar is not
    // part of its client area).
    POINT origin = {0, 0};
    ::MapWindowPoints(control.hwnd, hwnd_, &origin, 1);
    ::BitBlt(memory.Get(), 0, 0, w, h, backgroundDc_.Get(), origin.x, origin.y, SRCCOPY);

    const bool enabled = ::IsWindowEnabled(control.hwnd) != FALSE;
    int iw = 0, ih = 0;
    if (control.kind == ControlKind::kButton && ImageSize(control.image.Get(), &iw, &ih)) {
        const int state = !enabled ? 3 : control.pressed && control.hover ? 2 : control.hover ? 1 : 0;
        DrawImagePart(memory.Get(), control.image.Get(), 0, 0, w, h, state * iw / 4, 0, iw / 4, ih);
    } else if (control.kind == ControlKind::kProgress && ImageSize(control.image.Get(), &iw, &ih)) {
        DrawImagePart(memory.Get(), control.image.Get(), 0, 0, w, h, 0, 0, iw, ih);
        int fw = 0, fh = 0;
        const int filled = w * control.progress / 100;
        if (filled > 0 && ImageSize(control.fill.Get(), &fw, &fh))
            DrawImagePart(memory.Get(), control.fill.Get(), 0, 0, filled, h, 0, 0, std::max(1, fw * control.progress / 100), fh);
    }
    if (control.kind != ControlKind::kProgress && !control.text.empty()) {
        ScopedSelect font(memory.Get(), control.font.Get());
        ::SetBkMode(memory.Get(), TRANSPARENT);
        COLORREF color = control.color;
        if (!enabled) color = RGB(GetRValue(color) / 2 + 40, GetGValue(color) / 2 + 40, GetBValue(color) / 2 + 40);
        ::SetTextColor(memory.Get(), color);
        RECT text = {2, 0, w - 2, h};
        UINT format = DT_NOPREFIX | control.align;
        if (control.kind == ControlKind::kTextView) {
            text.top = -control.scrollY;
            text.bottom = text.top + std::max(control.contentHeight, h);
            format |= DT_WORDBREAK | DT_EDITCONTROL;
        } else {
            format |= DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
            if (control.kind == ControlKind::kButton && control.pressed && control.hover) ::OffsetRect(&text, 0, 1);
        }
        ::DrawTextW(memory.Get(), control.text.c_str(), int(control.text.size()), &text, format);
    }
    ::BitBlt(dc, 0, 0, w, h, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK UiWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<UiWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<UiWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT UiWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: {
        const LRESULT hit = ::DefWindowProcW(hwnd_, message, wParam, lParam);
        return hit == HTCLIENT ? HTCAPTION : hit;  // the background drags the window
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd_, &ps);
        ::BitBlt(dc, 0, 0, width_, height_, backgroundDc_.Get(), 0, 0, SRCCOPY);
        ::EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_CLOSE:
        if (closeRef != LUA_NOREF) CallLuaRef(closeRef, L"OnClose");
        else CloseUiWindowLater(this);
        return 0;
    case WM_TIMER: {
        auto it = timerRefs.find(wParam);
        if (it != timerRefs.end()) CallLuaRef(it->second, L"OnTimer", true, lua_Integer(wParam));
        return 0;
    }
    case WM_MOUSEWHEEL:
        for (auto& control : controls_)
            if (control->kind == ControlKind::kTextView) return ::SendMessageW(control->hwnd, message, wParam, lParam);
        return 0;
    case kDestroyLater:
        CloseToolkitWindow(id);
        return 0;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK UiWindow::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* control = static_cast<UiControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        control->hwnd = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    auto* control = reinterpret_cast<UiControl*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!control) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return control->owner->OnControlMessage(*control, message, wParam, lParam);
}

LRESULT UiWindow::OnControlMessage(UiControl& control, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = control.hwnd;
    switch (message) {
    case WM_NCHITTEST:
        if (control.kind == ControlKind::kLabel || control.kind == ControlKind::kProgress) return HTTRANSPARENT;
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        PaintControl(control, dc);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ENABLE:
        control.hover = control.pressed = false;
        ::InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_MOUSEMOVE:
        if (control.kind == ControlKind::kButton) {
            RECT client;
            ::GetClientRect(hwnd, &client);
            POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            const bool inside = ::PtInRect(&client, p) != FALSE;
            if (inside != control.hover) {
                control.hover = inside;
                ::InvalidateRect(hwnd, nullptr, FALSE);
            }
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd, 0};
            ::TrackMouseEvent(&track);
        }
        return 0;
    case WM_MOUSELEAVE:
        if (control.hover) {
            control.hover = false;
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_LBUTTONDOWN:
        if (control.kind == ControlKind::kButton) {
            control.pressed = control.hover = true;
            ::SetCapture(hwnd);
            ::InvalidateRect(hwnd, nullptr, FALSE);
        } else if (control.kind == ControlKind::kTextView) {
            ::SetFocus(hwnd);
        }
        return 0;
    case WM_LBUTTONUP:
        if (control.kind == ControlKind::kButton && control.pressed) {
            const bool click = control.hover;
            control.pressed = false;
            ::ReleaseCapture();
            ::InvalidateRect(hwnd, nullptr, FALSE);
            if (click) Click(control);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (control.pressed) {
            control.pressed = false;
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case BM_CLICK:
        if (control.kind == ControlKind::kButton) Click(control);
        return 0;
    case WM_MOUSEWHEEL:
        if (control.kind == ControlKind::kTextView)
            ScrollTextView(control, control.scrollY - GET_WHEEL_DELTA_WPARAM(wParam) * 40 / WHEEL_DELTA);
        return 0;
    case WM_VSCROLL:
        if (control.kind == ControlKind::kTextView) {
            RECT client;
            ::GetClientRect(hwnd, &client);
            SCROLLINFO si = {sizeof si, SIF_TRACKPOS};
            ::GetScrollInfo(hwnd, SB_VERT, &si);
            int position = control.scrollY;
            switch (LOWORD(wParam)) {
            case SB_LINEUP: position -= 20; break;
            case SB_LINEDOWN: position += 20; break;
            case SB_PAGEUP: position -= client.bottom; break;
            case SB_PAGEDOWN: position += client.bottom; break;
            case SB_TOP: position = 0; break;
            case SB_BOTTOM: position = control.contentHeight; break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: position = si.nTrackPos; break;
            }
            ScrollTextView(control, position);
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}
