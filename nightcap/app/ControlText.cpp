#include "nightcap/app/ControlText.h"

#include <vector>

namespace nightcap {

std::string ControlText(HWND control) {
    int length = GetWindowTextLengthA(control);
    if (length <= 0) return std::string();
    std::vector<char> buffer(length + 1);
    int n = GetWindowTextA(control, buffer.data(), length + 1);
    return std::string(buffer.data(), n > 0 ? n : 0);
}

void SetControlText(HWND control, const std::string& text) {
    if (ControlText(control) == text) return;
    SetWindowTextA(control, text.c_str());
    RepaintUnder(control);
}

void RepaintUnder(HWND control) {
    HWND top = GetAncestor(control, GA_ROOT);
    // A hidden window is painted whole when it shows: the tick of a program waiting in the tray draws nothing.
    if (!top || !IsWindowVisible(top)) return;
    RECT r;
    if (!GetWindowRect(control, &r)) return;
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
    RedrawWindow(top, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace nightcap
