// The scheduler's arithmetic and texts as plain functions of the time: when a schedule is due, how much
// time is left, where a countdown ends, and the lines the status label shows.
#pragma once
#include <string>

// A local date-time with second resolution.
struct LocalTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

enum class ScheduleMode { ClockTime = 1, Countdown = 2 };

struct HourMinute {
    int hour = 0;
    int minute = 0;
};

// The texts' leading decimal digits as a number, 0 when there are none. Saturates at 999,999,999 so
// that sums of these numbers and clock fields cannot overflow.
int NumberFromText(const std::string& text);

// "2013年6月27日14时5分7秒"; the time stops at its last non-zero part ("…日15时" at 15:00:00).
std::string DateTimeText(const LocalTime& t);
// The status line of an idle program: "现在时间：" and the date-time.
std::string ClockLine(const LocalTime& now);

// Where a countdown of hours and minutes armed at start ends (seconds of start ignored); the hour
// wraps past 23 once.
HourMinute CountdownEnd(const LocalTime& start, int hours, int minutes);
// Hours and minutes from now to the target minute, wrapping across midnight.
HourMinute Remaining(const LocalTime& now, HourMinute target);
bool IsDue(const LocalTime& now, HourMinute target);
// "1小时29分钟后将自动关机！"
std::string RemainingText(HourMinute remaining);
// The moment of the twenty-second warning: second 40 of the last minute.
bool IsWarningMoment(HourMinute remaining, const LocalTime& now);

// A field value as the labels show it: two digits with a leading zero below 10.
std::string TwoDigits(int value);
// The clock time thirty minutes from now (the clock-time tab's preset).
HourMinute HalfHourAhead(const LocalTime& now);

// What one tick of an armed schedule decides; hourText and minuteText are the labels' texts.
struct TickDecision {
    bool due = false;
    bool warn = false;
    std::string remainingText;
};
TickDecision DecideTick(ScheduleMode mode, const LocalTime& start, const LocalTime& now,
                        const std::string& hourText, const std::string& minuteText);

// "2013-06-27 14:05:07" → true and the time; false for anything else.
bool ParseLocalTime(const char* text, LocalTime* time);

// Texts of the scheduler.
extern const char* const kRemainingPrefix;   // "剩余时间："
extern const char* const kReminderTitle;     // "关机提醒！"
extern const char* const kTwentySecondText;  // "还有二十秒，系统将自动关机！若想放弃请点取消！！！"
