#include "nightcap/online/CalendarDate.h"

#include <cmath>

namespace nightcap {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date.
constexpr long DaysFromCivil(long y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long z, int& year, int& month, int& day) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe + era * 400 + (month <= 2));
}

constexpr long kEpochDays = DaysFromCivil(1899, 12, 30);

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

double ClampDate(double date) {
    if (std::isnan(date)) return 0.0;
    return date < kFirstDate ? kFirstDate : date > kLastDate ? kLastDate : date;
}

bool DateFromCalendar(int year, int month, int day, int hour, int minute, int second, double& date) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return false;
    const double days = double(DaysFromCivil(year, month, day) - kEpochDays);
    const double time = (hour * 3600 + minute * 60 + second) / 86400.0;
    date = days >= 0 ? days + time : days - time;
    return true;
}

CalendarTime CalendarFromDate(double date) {
    date = ClampDate(date);
    double whole = std::trunc(date);
    long seconds = std::lround(std::fabs(date - whole) * 86400.0);
    if (seconds >= 86400) {  // rounding reached the next day
        seconds = 0;
        whole += 1;
    }
    const long days = long(whole);
    CalendarTime t;
    CivilFromDays(days + kEpochDays, t.year, t.month, t.day);
    t.hour = int(seconds / 3600);
    t.minute = int(seconds / 60 % 60);
    t.second = int(seconds % 60);
    t.weekday = int(((days % 7) + 7 + 6) % 7);  // day 0 was a Saturday
    return t;
}

}  // namespace nightcap
