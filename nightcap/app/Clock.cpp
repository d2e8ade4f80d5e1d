#include "Clock.h"

#include <windows.h>

#include <cstdio>

namespace {
bool g_fixed = false;
LocalTime g_fixedTime;
}  // namespace

LocalTime Now() {
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

void UseSystemClock() { g_fixed = false; }

bool ParseLocalTime(const char* text, LocalTime* time) {
    if (!text) return false;
    LocalTime t;
    int used = 0;
    if (std::sscanf(text, "%4d-%2d-%2d %2d:%2d:%2d%n", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second,
                    &used) != 6 ||
        text[used] != '\0')
        return false;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59 || t.second < 0 || t.second > 59)
        return false;
    *time = t;
    return true;
}
