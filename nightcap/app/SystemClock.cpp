#include "nightcap/app/SystemClock.h"

namespace nightcap {

namespace {
SetClockFunction g_setter = nullptr;
}  // namespace

bool SetSystemClock(const SYSTEMTIME& utc) { return g_setter ? g_setter(utc) : SetSystemTime(&utc) != FALSE; }

void InstallClockSetter(SetClockFunction setter) { g_setter = setter; }

}  // namespace nightcap
