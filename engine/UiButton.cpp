#include "engine/UiButton.h"

#include <windowsx.h>

#include "common/TextConvert.h"
#include "engine/LayoutResources.h"
#include "engine/UiImage.h"

bool UiButton::ReadKindProperties(const LayoutItem& item, std::wstring* error) {
    image_ = ImageFromPackage(item.Find(u"image"), error);
    if (image_) return true;
    if (error->empty()) *error = L"a button without an image";
    return false;
}

void UiButton::Paint(HDC dc, int width, int height, bool enabled) {
    const bool down = pressed_ && hover_;
    int iw = 0, ih = 0;
    if (ImageSize(image_.Get(), &iw, &ih)) {
        const int state = !enabled ? 3 : down ? 2 : hover_ ? 1 : 0;
        DrawImagePart(dc, image_.Get(), 0, 0, width, height, state * iw / 4, 0, iw / 4, ih);
    }
    RECT box = {2, 0, width - 2, height};
    if (down) ::OffsetRect(&box, 0, 1);
    DrawOwnText(dc, box, kOneLine | DT_CENTER, enabled);
}

LRESULT UiButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ENABLE:
        hover_ = pressed_ = false;
        break;  // and repainted
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown();
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp();
        return 0;
    case WM_MOUSELEAVE:
        if (hover_) {
            hover_ = false;
            Invalidate();
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (pressed_) {
            pressed_ = false;
            Invalidate();
        }
        return 0;
    case BM_CLICK:
        Click();
        return 0;
    }
    return UiControl::OnMessage(message, wParam, lParam);
}

void UiButton::OnMouseMove(LPARAM lParam) {
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    const POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool inside = ::PtInRect(&client, p) != FALSE;
    if (inside != hover_) {
        hover_ = inside;
        Invalidate();
    }
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, Hwnd(), 0};
    ::TrackMouseEvent(&track);
}

void UiButton::OnButtonDown() {
    pressed_ = hover_ = true;
    ::SetCapture(Hwnd());
    Invalidate();
}

void UiButton::OnButtonUp() {
    if (!pressed_) return;
    const bool click = hover_;
    pressed_ = false;
    ::ReleaseCapture();
    Invalidate();
    if (click) Click();
}

void UiButton::Click() {
    if (!::IsWindowEnabled(Hwnd())) return;
    CallLuaFunction(onClick_, L"OnClick " + Utf8ToWide(Id()));
}
