#include "engine/UiLabel.h"

void UiLabel::Paint(HDC dc, int width, int height, bool enabled) {
    DrawOwnText(dc, {2, 0, width - 2, height}, kOneLine | Alignment(), enabled);
}

LRESULT UiLabel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) return HTTRANSPARENT;  // the window under it is dragged
    return UiControl::OnMessage(message, wParam, lParam);
}
