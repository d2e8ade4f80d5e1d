// The one tooltip window of the process, shared by every image control (ImageControl::SetToolTip).
#pragma once
#include <windows.h>

// Null until the first SetToolTip; never destroyed.
HWND SharedToolTipWindow();
