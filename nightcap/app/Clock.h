// The local clock as the scheduler reads it. The program reads the system clock; a fixed time, or a reader
// that a test moves, can be put in its place (the GUI tests run the program at given moments this way).
#pragma once
#include "nightcap/app/ScheduleRules.h"

namespace nightcap {

LocalTime Now();
void UseFixedClock(const LocalTime& time);
void UseSystemClock();
// Read on every Now(); while it reads nothing, the time it gave last (or the fixed time) stands.
using ClockReader = bool (*)(LocalTime* time);
void UseClockReader(ClockReader reader);

}  // namespace nightcap
