#include "engine/UiTextView.h"

#include <algorithm>

namespace {
constexpr UINT kWrapped = DT_WORDBREAK | DT_EDITCONTROL;
constexpr int kLine = 20;       // pixels a scroll bar arrow moves
constexpr int kWheelStep = 40;  // pixels a notch of the wheel moves
}  // namespace

void UiTextView::SetText(const std::wstring& text) {
    scrollY_ = 0;
    UiControl::SetText(text);
    MeasureText();
}

void UiTextView::Paint(HDC dc, int width, int height, bool enabled) {
    RECT box = {2, -scrollY_, width - 2, -scrollY_ + std::max(contentHeight_, height)};
    DrawOwnText(dc, box, kWrapped | Alignment(), enabled);
}

LRESULT UiTextView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        MeasureText();
        break;
    case WM_LBUTTONDOWN:
        ::SetFocus(Hwnd());
        return 0;
    case WM_MOUSEWHEEL:
        ScrollTo(scrollY_ - GET_WHEEL_DELTA_WPARAM(wParam) * kWheelStep / WHEEL_DELTA);
        return 0;
    case WM_VSCROLL:
        OnScrollBar(LOWORD(wParam));
        return 0;
    }
    return UiControl::OnMessage(message, wParam, lParam);
}

void UiTextView::MeasureText() {
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    WindowDc dc(Hwnd());
    ScopedSelect font(dc.Get(), Font());
    RECT measure = {0, 0, client.right - 4, 0};
    ::DrawTextW(dc.Get(), Text().c_str(), int(Text().size()), &measure, DT_CALCRECT | DT_NOPREFIX | kWrapped);
    contentHeight_ = measure.bottom;
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL};
    si.nMin = 0;
    si.nMax = std::max(0, contentHeight_ - 1);
    si.nPage = UINT(client.bottom);
    si.nPos = scrollY_;
    ::SetScrollInfo(Hwnd(), SB_VERT, &si, TRUE);
}

void UiTextView::ScrollTo(int position) {
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    const int limit = std::max(0, contentHeight_ - int(client.bottom));
    scrollY_ = std::clamp(position, 0, limit);
    SCROLLINFO si = {sizeof si, SIF_POS};
    si.nPos = scrollY_;
    ::SetScrollInfo(Hwnd(), SB_VERT, &si, TRUE);
    Invalidate();
}

void UiTextView::OnScrollBar(WORD request) {
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    SCROLLINFO si = {sizeof si, SIF_TRACKPOS};
    ::GetScrollInfo(Hwnd(), SB_VERT, &si);
    int position = scrollY_;
    switch (request) {
    case SB_LINEUP: position -= kLine; break;
    case SB_LINEDOWN: position += kLine; break;
    case SB_PAGEUP: position -= client.bottom; break;
    case SB_PAGEDOWN: position += client.bottom; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = contentHeight_; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = si.nTrackPos; break;
    }
    ScrollTo(position);
}
