#include "nightcap/controls/ToolTip.h"

#include <commctrl.h>

#include "nightcap/controls/ControlProperties.h"
#include "nightcap/controls/ImageControl.h"

namespace nightcap {

namespace {

HWND g_toolTip = nullptr;

// The 44-byte TOOLINFOA of the first common-controls version (no lParam-era extensions).
TOOLINFOA ToolRecord(HWND control, const char* text) {
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = control;
    tool.lpszText = const_cast<char*>(text);
    return tool;
}

}  // namespace

HWND SharedToolTipWindow() { return g_toolTip; }

void ImageControl::SetToolTip(const char* text, std::optional<int> flags) {
    if (!g_toolTip) {
        g_toolTip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                                    nullptr);
        SendMessageA(g_toolTip, TTM_SETMAXTIPWIDTH, 0, 1024);
    }
    if (PropValue(hwnd_, prop::kToolTips)) {
        TOOLINFOA tool = ToolRecord(hwnd_, text);
        SendMessageA(g_toolTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    SetPropValue(hwnd_, prop::kToolTips, 1);
    TOOLINFOA tool = ToolRecord(hwnd_, text);
    tool.uFlags = TTF_SUBCLASS;
    if (flags && (*flags & 1) == 0) tool.uFlags |= TTF_CENTERTIP;
    GetClientRect(hwnd_, &tool.rect);
    SendMessageA(g_toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace nightcap
