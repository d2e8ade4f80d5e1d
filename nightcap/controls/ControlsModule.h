// Start-up of the image-control module: GDI+, the frame dimension of animated images and the
// "VestaLoadDialog" window class. Called once before any window is made; GDI+ stays up until exit.
#pragma once
#include <windows.h>

namespace nightcap {

bool StartControlsModule();

// {6AEDBD6D-3FB5-418A-83A6-7F45229DC872}: the time dimension of an animated image.
const GUID& TimeFrameDimension();

}  // namespace nightcap
