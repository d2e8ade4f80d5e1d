// The scheduler's handlers: the two mode tabs, arming and cancelling with 按钮_执行, and the 500 ms tick
// that shows the clock or the time left, warns five minutes and twenty seconds before the end, and asks for
// the chosen power action when the target minute comes. While armed the computer does not sleep on its
// own; a target minute that passed while it slept anyway returns the program to idle.
#pragma once
#include "nightcap/app/NightcapApp.h"

namespace nightcap {

// Highlights the mode's tab, shows the strip's image for it and makes it the schedule mode.
void ShowScheduleMode(NightcapApp& app, ScheduleMode mode);
void ChooseClockTimeTab(NightcapApp& app);
void ChooseCountdownTab(NightcapApp& app);
// Arms when idle, cancels when armed.
void OnExecuteClicked(NightcapApp& app);
void OnClockTick(NightcapApp& app);
// Arms a schedule of the given mode, hour and minute (the command line), disarming a running one first.
void ArmWith(NightcapApp& app, ScheduleMode mode, HourMinute time);
// Disarms; nothing when idle.
void Disarm(NightcapApp& app);
// Moves the end of the armed schedule; false when idle or when the wait would reach a day.
bool Postpone(NightcapApp& app, int minutes);
// A click on the program's latest balloon: the twenty-second warning's postpones by ten minutes.
void OnBalloonClicked(NightcapApp& app);
// WM_POWERBROADCAST: before a sleep and after the resume the tick runs at once, so that a target minute
// that passed meanwhile is seen before anything else.
void OnPowerBroadcast(NightcapApp& app, WPARAM event);
constexpr int kPostponeMinutes = 10;

}  // namespace nightcap
