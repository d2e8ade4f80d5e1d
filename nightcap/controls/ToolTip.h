// The one tooltip window of the process, shared by every image control (ImageControl::SetToolTip).
#pragma once
#include <windows.h>

namespace nightcap {

// Null until the first SetToolTip; never destroyed.
HWND SharedToolTipWindow();

}  // namespace nightcap
