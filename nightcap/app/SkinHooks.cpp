#include "SkinHooks.h"

void StartImageControls() {}
void BindImageControls(NightcapApp&) {}
void SelectHourField(NightcapApp&) {}
void MoveSliderToHourLabel(NightcapApp&) {}
void BuildSlider(NightcapApp&) {}
void ShowTabStripImage(NightcapApp&, ScheduleMode) {}
void ShowArmedImages(NightcapApp&) {}
void ShowIdleImages(NightcapApp&) {}
bool HandleTimeEntryCommand(NightcapApp&, int, int) { return false; }
