// The scheduler's handlers: the two mode tabs, arming and cancelling with 按钮_执行, and the 500 ms tick
// that shows the clock or the time left and asks for the shut-down when the target minute comes.
#pragma once
#include "NightcapApp.h"

// Highlights the mode's tab, shows the strip's image for it and makes it the schedule mode.
void ShowScheduleMode(NightcapApp& app, ScheduleMode mode);
void ChooseClockTimeTab(NightcapApp& app);
void ChooseCountdownTab(NightcapApp& app);
// Arms when idle, cancels when armed.
void OnExecuteClicked(NightcapApp& app);
void OnClockTick(NightcapApp& app);
