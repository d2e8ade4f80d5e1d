// The local clock as the scheduler reads it. The program reads the system clock; a fixed time can be put
// in its place (the GUI tests run the program at a given moment this way).
#pragma once
#include "ScheduleRules.h"

LocalTime Now();
void UseFixedClock(const LocalTime& time);
void UseSystemClock();
