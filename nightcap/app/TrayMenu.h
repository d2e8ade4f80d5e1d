// The tray icon's pop-up menu: "显示" and "结束" as ever, then "推迟10分钟" while a schedule is armed and
// the power action of the user's choice ("到时操作": the actions and "强制关闭程序"). It is filled anew before every
// pop-up, so that it shows the schedule's state and the choice as they are.
#pragma once
#include "nightcap/app/NightcapApp.h"

namespace nightcap {

void FillTrayMenu(NightcapApp& app);
// Postpone and the power choice; a choice is remembered in config.ini at once. True when handled.
bool HandleTrayMenuCommand(NightcapApp& app, int id);

}  // namespace nightcap
