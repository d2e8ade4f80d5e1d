// The main window: class "Nightcap", caption "定时关机", 302 x 252 pixels without a frame, drawn over a
// built-in picture. Its created handler runs the whole start-up; its procedure routes each control event to
// the handler of its own.
#pragma once
#include "nightcap/app/NightcapApp.h"

namespace nightcap {

constexpr int kWindowWidth = 302;
constexpr int kWindowHeight = 252;
extern const char* const kMainWindowClass;  // "Nightcap"
extern const char* const kMainWindowTitle;  // "定时关机"

bool RegisterMainWindowClass(HINSTANCE instance);
// Creates the main window and runs its start-up. Null when another copy runs or the window could not be made.
HWND CreateMainWindow(NightcapApp& app);

// Both windows together: the main window first when showing, the slider window first when hiding.
void ShowBothWindows(NightcapApp& app);
void HideBothWindows(NightcapApp& app);
void ToggleBothWindows(NightcapApp& app);

// The close button and the tray menu's "结束": remove the tray icon, hide, save the settings, end.
void ExitProgram(NightcapApp& app);

// Creates the controls of the main window at their places (MainControlsLayout.cpp).
void CreateMainControls(NightcapApp& app);

}  // namespace nightcap
