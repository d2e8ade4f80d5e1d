// Reading and writing the texts of the plain controls.
#pragma once
#include <windows.h>

#include <string>

namespace nightcap {

std::string ControlText(HWND control);
// Sets the text and repaints what lies under the control, so that a transparent label drawn over the window's
// picture never shows its old text beneath the new. Does nothing when the text is already the same.
void SetControlText(HWND control, const std::string& text);
// Repaints the control together with the part of its top-level window under it; nothing while that window
// is hidden (it is painted whole when it shows).
void RepaintUnder(HWND control);

}  // namespace nightcap
