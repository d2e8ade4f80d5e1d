#include "nightcap/app/ScheduleRules.h"

#include <cstdio>

namespace nightcap {

const char* const kRemainingPrefix = "剩余时间：";

std::string ReminderTitle(int action) { return ActionWord(action) + "提醒！"; }
std::string TwentySecondText(int action) {
    return "还有二十秒，系统将自动" + ActionWord(action) + "！若想放弃请点取消！！！";
}
std::string FiveMinuteText(int action) { return "还有五分钟，系统将自动" + ActionWord(action) + "！"; }
std::string MissedText(int action) {
    return "电脑睡眠期间已过自动" + ActionWord(action) + "的时间，定时已取消，请重新设定！";
}

namespace {
bool OnTheClock(HourMinute t) { return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59; }

// Wide: the labels' numbers from config.ini may be far beyond any clock.
long long Minutes(HourMinute t) { return t.hour * 60LL + t.minute; }

// Minutes since 1970-01-01 00:00 of a local time, by the proleptic Gregorian calendar.
long long MinuteNumber(const LocalTime& t) {
    long long y = static_cast<long long>(t.year) - (t.month <= 2);
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yearOfEra = y - era * 400;
    long long monthFromMarch = (static_cast<long long>(t.month) + 9) % 12;
    long long dayOfYear = (153 * monthFromMarch + 2) / 5 + t.day - 1;
    long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    long long days = era * 146097 + dayOfEra - 719468;
    return days * kMinutesPerDay + t.hour * 60LL + t.minute;
}
}  // namespace

int NumberFromText(const std::string& text) {
    constexpr int kLimit = 999999999;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        if (value > (kLimit - (c - '0')) / 10) return kLimit;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string DateTimeText(const LocalTime& t) {
    char buffer[128];
    int n = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", t.year, t.month, t.day);
    if (t.second != 0)
        std::snprintf(buffer + n, sizeof buffer - n, "%d时%d分%d秒", t.hour, t.minute, t.second);
    else if (t.minute != 0)
        std::snprintf(buffer + n, sizeof buffer - n, "%d时%d分", t.hour, t.minute);
    else if (t.hour != 0)
        std::snprintf(buffer + n, sizeof buffer - n, "%d时", t.hour);
    return buffer;
}

std::string ClockLine(const LocalTime& now) { return "现在时间：" + DateTimeText(now); }

HourMinute CountdownEnd(const LocalTime& start, int hours, int minutes) {
    HourMinute end{start.hour + hours, start.minute + minutes};
    if (end.minute >= 60) {
        end.minute -= 60;
        end.hour += 1;
    }
    if (end.hour > 23) end.hour -= 24;
    return end;
}

HourMinute Remaining(const LocalTime& now, HourMinute target) {
    HourMinute left{target.hour - now.hour, target.minute - now.minute};
    if (left.minute < 0) {
        left.minute += 60;
        left.hour -= 1;
    }
    if (left.hour < 0) left.hour += 24;
    return left;
}

bool IsDue(const LocalTime& now, HourMinute target) {
    return now.hour == target.hour && now.minute == target.minute;
}

std::string RemainingText(HourMinute remaining, int action) {
    return std::to_string(remaining.hour) + "小时" + std::to_string(remaining.minute) + "分钟后将自动" +
           ActionWord(action) + "！";
}

HourMinute Later(HourMinute target, int minutes) {
    if (!OnTheClock(target)) return target;
    int at = static_cast<int>((Minutes(target) + minutes % kMinutesPerDay + kMinutesPerDay) % kMinutesPerDay);
    return HourMinute{at / 60, at % 60};
}

bool CanPostpone(HourMinute remaining, int minutes) {
    return minutes > 0 && minutes < kMinutesPerDay && Minutes(remaining) + minutes < kMinutesPerDay;
}

bool MissedWhileAway(const LocalTime& before, const LocalTime& now, HourMinute target) {
    if (!OnTheClock(target)) return false;
    long long away = MinuteNumber(now) - MinuteNumber(before);
    long long wait = Minutes(Remaining(before, target));
    return wait > 0 && wait < away;
}

long long SecondsLeft(HourMinute remaining, const LocalTime& now) { return Minutes(remaining) * 60 - now.second; }

bool IsWarningMoment(HourMinute remaining, const LocalTime& now) {
    return remaining.hour == 0 && remaining.minute == 1 && now.second == 40;
}

std::string TwoDigits(int value) { return (value >= 0 && value <= 9 ? "0" : "") + std::to_string(value); }

HourMinute HalfHourAhead(const LocalTime& now) {
    HourMinute ahead{now.hour, now.minute + 30};
    if (ahead.minute >= 60) {
        ahead.minute -= 60;
        ahead.hour += 1;
    }
    if (ahead.hour >= 24) ahead.hour -= 24;
    return ahead;
}

HourMinute TargetOf(const ArmedSchedule& schedule) {
    int hours = NumberFromText(schedule.hourText);
    int minutes = NumberFromText(schedule.minuteText);
    HourMinute target = schedule.mode == ScheduleMode::Countdown ? CountdownEnd(schedule.start, hours, minutes)
                                                                 : HourMinute{hours, minutes};
    return schedule.postponedMinutes ? Later(target, schedule.postponedMinutes) : target;
}

TickDecision DecideTick(const ArmedSchedule& schedule, const LocalTime& previous, const LocalTime& now) {
    HourMinute target = TargetOf(schedule);
    TickDecision decision;
    decision.remaining = Remaining(now, target);
    decision.missed = MissedWhileAway(previous, now, target);
    // Waking a day or more later in the target minute is still a target missed, not one due.
    decision.due = IsDue(now, target) && !decision.missed;
    decision.warn = IsWarningMoment(decision.remaining, now);
    decision.secondsLeft = SecondsLeft(decision.remaining, now);
    decision.fiveMinuteWarn = schedule.fiveMinuteWarningPending && !decision.due && !decision.missed &&
                              decision.secondsLeft <= kFiveMinutes;
    decision.remainingText = RemainingText(decision.remaining, schedule.action);
    return decision;
}

TickDecision DecideTick(ScheduleMode mode, const LocalTime& start, const LocalTime& now,
                        const std::string& hourText, const std::string& minuteText) {
    ArmedSchedule schedule;
    schedule.mode = mode;
    schedule.start = start;
    schedule.hourText = hourText;
    schedule.minuteText = minuteText;
    return DecideTick(schedule, now, now);
}

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

}  // namespace nightcap
