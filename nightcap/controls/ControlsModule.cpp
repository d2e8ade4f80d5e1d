#include "ControlsModule.h"

#include <gdiplus.h>

#include "VestaLoadDialog.h"

namespace {

ULONG_PTR g_gdiplusToken = 0;
GUID g_timeDimension = {};

}  // namespace

const GUID& TimeFrameDimension() { return g_timeDimension; }

bool StartControlsModule() {
    if (!g_gdiplusToken) {
        Gdiplus::GdiplusStartupInput input;  // version 1, no background thread options
        if (Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr) != Gdiplus::Ok) return false;
    }
    const char text[] = "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}";
    wchar_t wide[64] = {};
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
    CLSIDFromString(wide, &g_timeDimension);
    RegisterVestaLoadDialogClass();
    return true;
}
