// The tray icon's pop-up menu: "显示", "推迟10分钟" while a schedule is armed, the power action of the
// user's choice ("到时操作": the actions and "强制关闭程序") and "结束". It is filled anew before every
// pop-up, so that it shows the schedule's state and the choice as they are.
#pragma once
#include "NightcapApp.h"

void FillTrayMenu(NightcapApp& app);
// Postpone and the power choice; a choice is remembered in config.ini at once. True when handled.
bool HandleTrayMenuCommand(NightcapApp& app, int id);
