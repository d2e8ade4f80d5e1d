// The scheduler's arithmetic and texts as plain functions of the time: when a schedule is due, how much
// time is left, where a countdown ends, and the lines the status label shows.
#pragma once
#include <string>

#include "nightcap/app/PowerChoice.h"

namespace nightcap {

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
// "1小时29分钟后将自动关机！"; the action's word in place of 关机 ("…分钟后将自动重启！").
std::string RemainingText(HourMinute remaining, int action = kShutDown);
// The moment of the twenty-second warning: second 40 of the last minute.
bool IsWarningMoment(HourMinute remaining, const LocalTime& now);

// A field value as the labels show it: two digits with a leading zero below 10.
std::string TwoDigits(int value);
// The clock time thirty minutes from now (the clock-time tab's preset).
HourMinute HalfHourAhead(const LocalTime& now);

// A clock time some minutes later, wrapping across midnight. A target no clock shows stays as it is.
HourMinute Later(HourMinute target, int minutes);
// Postponing keeps the wait under a day, where the remaining time would wrap round.
bool CanPostpone(HourMinute remaining, int minutes);
// Whether the target minute came and went between two readings of the clock: the computer slept or
// hibernated through it (or the clock was put forward past it). The target minute that is now is not missed,
// unless it also came earlier (a sleep of more than a day).
bool MissedWhileAway(const LocalTime& before, const LocalTime& now, HourMinute target);
// Seconds from now to the start of the target minute, where the power action comes (negative in it).
long long SecondsLeft(HourMinute remaining, const LocalTime& now);
constexpr int kFiveMinutes = 5 * 60;
constexpr int kMinutesPerDay = 24 * 60;

// An armed schedule as one tick sees it; hourText and minuteText are the labels' texts.
struct ArmedSchedule {
    ScheduleMode mode = ScheduleMode::ClockTime;
    LocalTime start;
    std::string hourText;
    std::string minuteText;
    int postponedMinutes = 0;
    int action = kShutDown;
    bool fiveMinuteWarningPending = false;  // armed with more than five minutes left, not yet warned
};
HourMinute TargetOf(const ArmedSchedule& schedule);

// What one tick of an armed schedule decides; previous is the clock at the tick before.
struct TickDecision {
    bool due = false;
    bool missed = false;
    bool warn = false;             // the twenty-second warning
    bool fiveMinuteWarn = false;   // the five-minute warning
    long long secondsLeft = 0;
    HourMinute remaining;
    std::string remainingText;
};
TickDecision DecideTick(const ArmedSchedule& schedule, const LocalTime& previous, const LocalTime& now);
TickDecision DecideTick(ScheduleMode mode, const LocalTime& start, const LocalTime& now,
                        const std::string& hourText, const std::string& minuteText);

// "2013-06-27 14:05:07" → true and the time; false for anything else.
bool ParseLocalTime(const char* text, LocalTime* time);

// Texts of the scheduler, named after the action ("关机提醒！", "重启提醒！"...).
extern const char* const kRemainingPrefix;  // "剩余时间："
std::string ReminderTitle(int action);      // "关机提醒！"
std::string TwentySecondText(int action);   // "还有二十秒，系统将自动关机！若想放弃请点取消！！！"
std::string FiveMinuteText(int action);     // "还有五分钟，系统将自动关机！"
std::string MissedText(int action);         // the balloon after a target missed while the computer slept

}  // namespace nightcap
