// Where the main window meets the image-drawn controls, the time entry and the slider (NightcapSkin.h).
#pragma once
#include "nightcap/app/NightcapApp.h"

namespace nightcap {

// Process start, before any window is made: the image-drawn controls' module (GDI+ and its window class).
void StartImageControls();
// Start-up: bind the picture boxes and buttons to their controls and load their images.
void BindImageControls(NightcapApp& app);
// Start-up: the weather picture from the bytes of a PNG file (empty: no picture).
void ShowWeatherPicture(NightcapApp& app, const std::string& pngBytes);
// Start-up: the hour field is the selected one.
void SelectHourField(NightcapApp& app);
// Start-up: the slider follows the hour label.
void MoveSliderToHourLabel(NightcapApp& app);
// The slider window was created: its drawing frame (UI动画框) over all of it, and the slider on that.
void BuildSlider(NightcapApp& app);
// The tab strip shows the image of the chosen mode.
void ShowTabStripImage(NightcapApp& app, ScheduleMode mode);
// Armed: both field frames plain, the execute button its second image set. Idle: the idle set, and the
// selected field's frame selected.
void ShowArmedImages(NightcapApp& app);
void ShowIdleImages(NightcapApp& app);
// Commands from the hour and minute labels, their edit boxes and the panels; true when handled.
bool HandleTimeEntryCommand(NightcapApp& app, int id, int code);

}  // namespace nightcap
