// The slider window: a second top-level window of the main window's size, owned by it and kept over it.
// It is layered with white as the colour key, so only what is drawn on it (the slider) shows over the main
// window. Its one child, UI动画框, covers it and is where the slider is drawn.
#pragma once
#include "nightcap/app/NightcapApp.h"

namespace nightcap {

bool RegisterSliderWindowClass(HINSTANCE instance);
// Creates and shows the window; fills app.slider.
void CreateSliderWindow(NightcapApp& app);
// Puts the slider window at the main window's left and top, keeping its size.
void FollowMainWindow(NightcapApp& app);

}  // namespace nightcap
