// The main window's tray procedure, installed over its own procedure at start-up: clicks on the tray icon
// and its balloons, the tray menu, and the icon's return after the taskbar is created anew.
#pragma once
#include "nightcap/app/NightcapApp.h"

namespace nightcap {

void InstallTrayProcedure(NightcapApp& app);

}  // namespace nightcap
