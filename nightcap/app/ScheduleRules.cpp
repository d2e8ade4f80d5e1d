#include "ScheduleRules.h"

#include <cstdio>

const char* const kRemainingPrefix = "剩余时间：";
const char* const kReminderTitle = "关机提醒！";
const char* const kTwentySecondText = "还有二十秒，系统将自动关机！若想放弃请点取消！！！";

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

std::string RemainingText(HourMinute remaining) {
    return std::to_string(remaining.hour) + "小时" + std::to_string(remaining.minute) + "分钟后将自动关机！";
}

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

TickDecision DecideTick(ScheduleMode mode, const LocalTime& start, const LocalTime& now,
                        const std::string& hourText, const std::string& minuteText) {
    int hours = NumberFromText(hourText);
    int minutes = NumberFromText(minuteText);
    HourMinute target = mode == ScheduleMode::Countdown ? CountdownEnd(start, hours, minutes)
                                                        : HourMinute{hours, minutes};
    HourMinute left = Remaining(now, target);
    TickDecision decision;
    decision.due = IsDue(now, target);
    decision.warn = IsWarningMoment(left, now);
    decision.remainingText = RemainingText(left);
    return decision;
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
