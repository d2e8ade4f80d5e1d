#include "setup/skin/PngButton.h"

namespace setup {

CPngButton* CPngButton::Make(HWND control, const std::wstring& stripName, int sliceWidth) {
    auto* button = new CPngButton;
    if (!button->SubclassWindow(control)) {
        delete button;
        return nullptr;
    }
    if (button->LoadStrip(stripName, sliceWidth))
        SetWindowPos(control, nullptr, 0, 0, sliceWidth, button->slices_[0].Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return button;
}

void CPngButton::PreSubclassWindow() {
    LONG style = GetWindowLongW(m_hWnd, GWL_STYLE);
    SetWindowLongW(m_hWnd, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
}

bool CPngButton::LoadStrip(const std::wstring& stripName, int sliceWidth) {
    SkinImage strip;
    if (!LoadSkinImage(stripName, strip)) return false;
    if (strip.BitsPerPixel() == 32) Premultiply(strip.Bits(), static_cast<size_t>(strip.Width()) * strip.Height());
    int count = SliceCount(strip.Width(), sliceWidth);
    for (int k = 0; k < count; ++k) {
        SkinImage& slice = slices_[k];
        if (!slice.Create(sliceWidth, strip.Height())) return false;
        slice.SetHasAlpha(true);
        BitBlt(slice.Dc(), 0, 0, sliceWidth, strip.Height(), strip.Dc(), k * sliceWidth, 0, SRCCOPY);
        GdiFlush();
        sliceCount_ = k + 1;
    }
    looks_ = LooksForSlices(sliceCount_);
    return sliceCount_ > 0;
}

void CPngButton::UseFourthSliceWhenDisabled(bool fourth) {
    looks_.disabled = fourth && sliceCount_ >= 4 ? 3 : looks_.normal;
}

BOOL CPngButton::PreTranslateMessage(MSG* msg) {
    switch (msg->message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        if (cursor_) ::SetCursor(cursor_);
        break;
    }
    return CButton::PreTranslateMessage(msg);
}

bool CPngButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    if (message != WM_DRAWITEM) return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    *result = TRUE;
    return true;
}

void CPngButton::DrawItem(const DRAWITEMSTRUCT& item) const {
    int slice = looks_.normal;
    if (item.itemState & ODS_DISABLED)
        slice = looks_.disabled;
    else if (item.itemState & ODS_SELECTED)
        slice = looks_.pressed;
    else if (hover_)
        slice = looks_.hover;
    const SkinImage* image = Look(slice);
    if (!image || image->Empty()) return;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(item.hDC, 0, 0, image->Width(), image->Height(), image->Dc(), 0, 0, image->Width(), image->Height(),
               blend);
}

LRESULT CPngButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        if (!hover_) {
            hover_ = true;
            InvalidateRect(m_hWnd, nullptr, TRUE);
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
            TrackMouseEvent(&track);
        }
        break;
    case WM_MOUSELEAVE:
        if (hover_) {
            hover_ = false;
            InvalidateRect(m_hWnd, nullptr, TRUE);
        }
        return 0;
    case WM_ENABLE: {
        LRESULT r = CButton::WindowProc(message, wParam, lParam);
        if (!wParam) InvalidateRect(m_hWnd, nullptr, TRUE);
        return r;
    }
    }
    return CButton::WindowProc(message, wParam, lParam);
}

}  // namespace setup
