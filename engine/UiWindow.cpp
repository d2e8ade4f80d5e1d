#include "engine/UiWindow.h"

#include <algorithm>

#include "engine/LayoutResources.h"
#include "engine/UiButton.h"
#include "engine/UiImage.h"
#include "engine/UiLabel.h"
#include "engine/UiProgressBar.h"
#include "engine/UiTextView.h"

namespace {
constexpr wchar_t kWindowClass[] = L"XLUE.Window";
constexpr UINT kDestroyLater = WM_APP + 0x40;

// The control of a layout element; null for the kinds the toolkit does not know, which are left out.
std::unique_ptr<UiControl> NewControl(const std::u16string& kind) {
    if (kind == u"label") return std::make_unique<UiLabel>();
    if (kind == u"textview") return std::make_unique<UiTextView>();
    if (kind == u"button") return std::make_unique<UiButton>();
    if (kind == u"progress") return std::make_unique<UiProgressBar>();
    return nullptr;
}
}  // namespace

bool UiWindow::Create(const std::vector<LayoutItem>& items, std::wstring* error) {
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    RegisterToolkitClass(kWindowClass, ToolkitWindowProc<UiWindow>, ::LoadIconW(module, MAKEINTRESOURCEW(1)));
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
    const std::wstring title = ToWide(PropertyOr(*window, u"title", u""));
    // The object owns its window from WM_NCCREATE on; a window that fails after that is gone already.
    if (!::CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, title.c_str(),
                           WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, x, y, width_, height_, nullptr,
                           nullptr, module, this)) {
        hwnd_.Release();
        *error = L"cannot create the window";
        return false;
    }
    int radius = 0;
    if (const std::u16string* r = window->Find(u"corner"); r && ParseNumber(*r, &radius) && radius > 0)
        ::SetWindowRgn(hwnd_.Get(), ::CreateRoundRectRgn(0, 0, width_ + 1, height_ + 1, radius, radius), FALSE);
    for (const LayoutItem& item : items) {
        if (item.kind == u"window" || item.kind == u"image") continue;
        if (!AddControl(item, error)) return false;
    }
    return true;
}

UiWindow::~UiWindow() {
    // No message reaches a window being destroyed; its controls go first, then the window.
    if (hwnd_) ::SetWindowLongPtrW(hwnd_.Get(), GWLP_USERDATA, 0);
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
    std::unique_ptr<UiControl> control = NewControl(item.kind);
    if (!control) return true;
    UiControl* raw = control.get();
    controls_.push_back(std::move(control));
    return raw->Create(item, hwnd_.Get(), backgroundDc_.Get(), error);
}

void UiWindow::Show() {
    ::ShowWindow(hwnd_.Get(), SW_SHOWNORMAL);
    ::UpdateWindow(hwnd_.Get());
    ::SetForegroundWindow(hwnd_.Get());
}

void UiWindow::Minimize() { ::ShowWindow(hwnd_.Get(), SW_MINIMIZE); }

void UiWindow::SetTitle(const std::wstring& title) { ::SetWindowTextW(hwnd_.Get(), title.c_str()); }

void UiWindow::CloseLater() {
    if (!hwnd_) return;
    ::ShowWindow(hwnd_.Get(), SW_HIDE);
    ::PostMessageW(hwnd_.Get(), kDestroyLater, 0, 0);
}

void UiWindow::SetOnClose(LuaFunctionRef function) { onClose_ = std::move(function); }

UINT_PTR UiWindow::StartTimer(UINT ms, LuaFunctionRef function) {
    const UINT_PTR timer = nextTimer_++;
    if (!::SetTimer(hwnd_.Get(), timer, ms, nullptr)) return 0;
    timers_[timer] = std::move(function);
    return timer;
}

void UiWindow::StopTimer(UINT_PTR timer) {
    auto it = timers_.find(timer);
    if (it == timers_.end()) return;
    ::KillTimer(hwnd_.Get(), timer);
    timers_.erase(it);
}

std::optional<size_t> UiWindow::FindControl(const std::string& id) const {
    for (size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i]->Id() == id) return i;
    return std::nullopt;
}

LRESULT UiWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: {
        const LRESULT hit = ::DefWindowProcW(hwnd_.Get(), message, wParam, lParam);
        return hit == HTCLIENT ? HTCAPTION : hit;  // the background drags the window
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_MOUSEWHEEL:
        return OnMouseWheel(wParam, lParam);
    case kDestroyLater:
        CloseToolkitWindow(id_);  // this window is gone on return
        return 0;
    }
    return ::DefWindowProcW(hwnd_.Get(), message, wParam, lParam);
}

void UiWindow::OnPaint() {
    PAINTSTRUCT ps;
    const HDC dc = ::BeginPaint(hwnd_.Get(), &ps);
    ::BitBlt(dc, 0, 0, width_, height_, backgroundDc_.Get(), 0, 0, SRCCOPY);
    ::EndPaint(hwnd_.Get(), &ps);
}

void UiWindow::OnClose() {
    if (onClose_) CallLuaFunction(onClose_, L"OnClose");
    else CloseLater();
}

void UiWindow::OnTimer(UINT_PTR timer) {
    auto it = timers_.find(timer);
    if (it != timers_.end()) CallLuaFunction(it->second, L"OnTimer", lua_Integer(timer));
}

// The wheel scrolls the text view wherever over the window it turns.
LRESULT UiWindow::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
    for (const auto& control : controls_)
        if (control->TakesMouseWheel()) return ::SendMessageW(control->Hwnd(), WM_MOUSEWHEEL, wParam, lParam);
    return 0;
}
