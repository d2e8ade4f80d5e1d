#include "nightcap/controls/ControlsModule.h"

#include <gdiplus.h>

#include "common/GdiplusUse.h"
#include "nightcap/controls/VestaLoadDialog.h"

namespace nightcap {

namespace {

bool g_gdiplusStarted = false;  // for the rest of the process
GUID g_timeDimension = {};

}  // namespace

const GUID& TimeFrameDimension() { return g_timeDimension; }

bool StartControlsModule() {
    if (!g_gdiplusStarted) g_gdiplusStarted = AcquireGdiplus();
    if (!g_gdiplusStarted) return false;
    const char text[] = "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}";
    wchar_t wide[64] = {};
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
    CLSIDFromString(wide, &g_timeDimension);
    RegisterVestaLoadDialogClass();
    return true;
}

}  // namespace nightcap
