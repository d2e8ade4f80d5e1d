#include "engine/UiProgressBar.h"

#include <algorithm>

#include "engine/LayoutResources.h"
#include "engine/UiImage.h"

void UiProgressBar::SetProgress(int percent) {
    percent_ = std::clamp(percent, 0, 100);
    ::SetWindowTextW(Hwnd(), (std::to_wstring(percent_) + L"%").c_str());
    Invalidate();
}

bool UiProgressBar::ReadKindProperties(const LayoutItem& item, std::wstring* error) {
    track_ = ImageFromPackage(item.Find(u"track"), error);
    fill_ = ImageFromPackage(item.Find(u"fill"), error);
    if (track_ && fill_) return true;
    if (error->empty()) *error = L"a progress bar needs a track and a fill";
    return false;
}

void UiProgressBar::Paint(HDC dc, int width, int height, bool) {
    int tw = 0, th = 0;
    if (!ImageSize(track_.Get(), &tw, &th)) return;
    DrawImagePart(dc, track_.Get(), 0, 0, width, height, 0, 0, tw, th);
    int fw = 0, fh = 0;
    const int filled = width * percent_ / 100;
    if (filled > 0 && ImageSize(fill_.Get(), &fw, &fh))
        DrawImagePart(dc, fill_.Get(), 0, 0, filled, height, 0, 0, std::max(1, fw * percent_ / 100), fh);
}

LRESULT UiProgressBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) return HTTRANSPARENT;  // the window under it is dragged
    return UiControl::OnMessage(message, wParam, lParam);
}
