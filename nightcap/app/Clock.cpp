#include "nightcap/app/Clock.h"

#include <windows.h>

namespace nightcap {

namespace {
bool g_fixed = false;
LocalTime g_fixedTime;
ClockReader g_reader = nullptr;
}  // namespace

LocalTime Now() {
    LocalTime read;
    if (g_reader && g_reader(&read)) UseFixedClock(read);
    if (g_fixed) return g_fixedTime;
    SYSTEMTIME st;
    GetLocalTime(&st);
    LocalTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    return t;
}

void UseFixedClock(const LocalTime& time) {
    g_fixedTime = time;
    g_fixed = true;
}

void UseSystemClock() {
    g_fixed = false;
    g_reader = nullptr;
}

void UseClockReader(ClockReader reader) { g_reader = reader; }

}  // namespace nightcap
