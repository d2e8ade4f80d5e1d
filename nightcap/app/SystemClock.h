// Setting the computer's clock. The call goes through a replaceable function, so that the GUI tests can see
// what the program would set without touching any clock.
#pragma once
#include <windows.h>

namespace nightcap {

using SetClockFunction = bool (*)(const SYSTEMTIME& utc);

// SetSystemTime, unless a test installed its own; true when the clock was set.
bool SetSystemClock(const SYSTEMTIME& utc);
void InstallClockSetter(SetClockFunction setter);  // null: back to SetSystemTime

}  // namespace nightcap
