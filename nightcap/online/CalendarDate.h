// The program's date-time value: days since 1899-12-30 00:00 as a double, local time, no zone.
// Before that day the fraction still counts forward from the start of the day (-1.25 is 1899-12-29 06:00).
#pragma once

namespace nightcap {

struct CalendarTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    int weekday = 6;  // 0 Sunday .. 6 Saturday
};

// The range of the value: years 100 to 9999.
constexpr double kFirstDate = -657434.0;
constexpr double kLastDate = 2958465.0;

// Limits a value to the range above (NaN counts as the zero date).
double ClampDate(double date);

// False when a field is outside its calendar range (day 31 of a 30-day month included).
bool DateFromCalendar(int year, int month, int day, int hour, int minute, int second, double& date);

// The calendar fields of a value, to the nearest second, after ClampDate.
CalendarTime CalendarFromDate(double date);

}  // namespace nightcap
