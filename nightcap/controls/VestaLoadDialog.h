// The "VestaLoadDialog" window class: an image window that can be dragged by any point (property
// "VestaHitMove" = 1) and that frees the thread, image and memory named by its properties when destroyed.
#pragma once
#include <windows.h>

namespace nightcap {

constexpr const char* kVestaLoadDialogClass = "VestaLoadDialog";

// Called by the module start-up; a failure leaves the class unregistered.
void RegisterVestaLoadDialogClass();

LRESULT CALLBACK VestaLoadDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace nightcap
