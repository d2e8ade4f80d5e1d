// The scheduler's arithmetic and texts, driven with given times.
#include <gtest/gtest.h>

#include "nightcap/app/Clock.h"
#include "nightcap/app/ScheduleRules.h"

using namespace nightcap;

namespace {

LocalTime At(int hour, int minute, int second, int year = 2013, int month = 6, int day = 27) {
    LocalTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

TEST(NumberFromText, ReadsLeadingDigitsOnly) {
    EXPECT_EQ(NumberFromText("07"), 7);
    EXPECT_EQ(NumberFromText("23"), 23);
    EXPECT_EQ(NumberFromText("12abc"), 12);
    EXPECT_EQ(NumberFromText("abc"), 0);
    EXPECT_EQ(NumberFromText(""), 0);
    EXPECT_EQ(NumberFromText(" 5"), 0);
    EXPECT_EQ(NumberFromText("-5"), 0);
}

TEST(NumberFromText, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(NumberFromText("999999999"), 999999999);
    EXPECT_EQ(NumberFromText("99999999999999999999"), 999999999);
    // A huge countdown from the settings file gives an end that never comes, not undefined arithmetic.
    TickDecision tick = DecideTick(ScheduleMode::Countdown, At(23, 59, 0), At(23, 59, 0), "99999999999", "9999999999");
    EXPECT_FALSE(tick.due);
}

TEST(ClockLine, ShowsTheTimeDownToItsLastNonZeroPart) {
    EXPECT_EQ(ClockLine(At(14, 5, 7)), "现在时间：2013年6月27日14时5分7秒");
    EXPECT_EQ(ClockLine(At(14, 5, 0)), "现在时间：2013年6月27日14时5分");
    EXPECT_EQ(ClockLine(At(15, 0, 0)), "现在时间：2013年6月27日15时");
    EXPECT_EQ(ClockLine(At(0, 0, 0, 2014, 1, 1)), "现在时间：2014年1月1日");
    EXPECT_EQ(ClockLine(At(0, 0, 9)), "现在时间：2013年6月27日0时0分9秒");
    EXPECT_EQ(ClockLine(At(0, 30, 0)), "现在时间：2013年6月27日0时30分");
}

TEST(ClockTimeSchedule, IsDueForTheWholeTargetMinute) {
    for (int second : {0, 1, 30, 59}) {
        TickDecision tick = DecideTick(ScheduleMode::ClockTime, At(0, 0, 0), At(22, 30, second), "22", "30");
        EXPECT_TRUE(tick.due) << second;
        EXPECT_EQ(tick.remainingText, "0小时0分钟后将自动关机！");
    }
    EXPECT_FALSE(DecideTick(ScheduleMode::ClockTime, At(0, 0, 0), At(22, 31, 0), "22", "30").due);
    EXPECT_FALSE(DecideTick(ScheduleMode::ClockTime, At(0, 0, 0), At(22, 29, 59), "22", "30").due);
}

TEST(ClockTimeSchedule, EarlierTargetWaitsAcrossMidnight) {
    TickDecision tick = DecideTick(ScheduleMode::ClockTime, At(0, 0, 0), At(13, 0, 0), "12", "30");
    EXPECT_FALSE(tick.due);
    EXPECT_EQ(tick.remainingText, "23小时30分钟后将自动关机！");
    // Just after the target minute the wait wraps to almost a day.
    EXPECT_EQ(DecideTick(ScheduleMode::ClockTime, At(0, 0, 0), At(12, 31, 0), "12", "30").remainingText,
              "23小时59分钟后将自动关机！");
}

TEST(ClockTimeSchedule, RemainingBorrowsAnHourForMinutes) {
    EXPECT_EQ(DecideTick(ScheduleMode::ClockTime, At(0, 0, 0), At(10, 31, 0), "12", "00").remainingText,
              "1小时29分钟后将自动关机！");
}

TEST(CountdownSchedule, EndsAfterTheLengthIgnoringStartSeconds) {
    LocalTime start = At(10, 15, 50);
    TickDecision first = DecideTick(ScheduleMode::Countdown, start, At(10, 15, 50), "00", "01");
    EXPECT_FALSE(first.due);
    EXPECT_EQ(first.remainingText, "0小时1分钟后将自动关机！");
    // Second 40 of the last minute has passed already when the schedule starts at 10:15:50.
    for (int second = 50; second < 60; ++second)
        EXPECT_FALSE(DecideTick(ScheduleMode::Countdown, start, At(10, 15, second), "00", "01").warn);
    TickDecision due = DecideTick(ScheduleMode::Countdown, start, At(10, 16, 0), "00", "01");
    EXPECT_TRUE(due.due);
    EXPECT_EQ(due.remainingText, "0小时0分钟后将自动关机！");
}

TEST(CountdownSchedule, ZeroLengthIsDueAtOnce) {
    LocalTime start = At(9, 41, 12);
    EXPECT_TRUE(DecideTick(ScheduleMode::Countdown, start, start, "00", "00").due);
}

TEST(CountdownSchedule, EndWrapsPastMidnight) {
    EXPECT_EQ(CountdownEnd(At(23, 50, 0), 0, 20).hour, 0);
    EXPECT_EQ(CountdownEnd(At(23, 50, 0), 0, 20).minute, 10);
    EXPECT_TRUE(DecideTick(ScheduleMode::Countdown, At(23, 50, 0), At(0, 10, 0, 2013, 6, 28), "00", "20").due);
    EXPECT_EQ(DecideTick(ScheduleMode::Countdown, At(23, 50, 0), At(23, 55, 0), "00", "20").remainingText,
              "0小时15分钟后将自动关机！");
    HourMinute long_ = CountdownEnd(At(22, 45, 0), 3, 30);
    EXPECT_EQ(long_.hour, 2);
    EXPECT_EQ(long_.minute, 15);
}

TEST(CountdownSchedule, OutOfRangeLengthsNeverFire) {
    // 99 minutes: one carry leaves minute 60 or more, which no clock shows.
    HourMinute end = CountdownEnd(At(10, 30, 0), 0, 99);
    EXPECT_GE(end.minute, 60);
    for (int h = 0; h < 24; ++h)
        for (int m = 0; m < 60; ++m) ASSERT_FALSE(IsDue(At(h, m, 0), end));
}

TEST(TwentySecondWarning, ComesAtSecondFortyOfTheLastMinute) {
    LocalTime start = At(10, 0, 0);
    EXPECT_TRUE(DecideTick(ScheduleMode::Countdown, start, At(10, 4, 40), "00", "05").warn);
    EXPECT_FALSE(DecideTick(ScheduleMode::Countdown, start, At(10, 4, 39), "00", "05").warn);
    EXPECT_FALSE(DecideTick(ScheduleMode::Countdown, start, At(10, 4, 41), "00", "05").warn);
    EXPECT_FALSE(DecideTick(ScheduleMode::Countdown, start, At(10, 3, 40), "00", "05").warn);
    EXPECT_TRUE(DecideTick(ScheduleMode::ClockTime, start, At(6, 59, 40), "07", "00").warn);
    // The target minute itself has no warning.
    EXPECT_FALSE(DecideTick(ScheduleMode::ClockTime, start, At(7, 0, 40), "07", "00").warn);
}

ArmedSchedule Countdown(LocalTime start, const char* hours, const char* minutes, int postponed = 0) {
    ArmedSchedule s;
    s.mode = ScheduleMode::Countdown;
    s.start = start;
    s.hourText = hours;
    s.minuteText = minutes;
    s.postponedMinutes = postponed;
    return s;
}

// A 20-minute countdown armed at 10:00 on a computer that slept: the end passed while it slept.
TEST(MissedWhileAway, OnlyATargetThatCameAndWentIsMissed) {
    ArmedSchedule s = Countdown(At(10, 0, 0), "00", "20");
    LocalTime before = At(10, 1, 30);
    EXPECT_TRUE(DecideTick(s, before, At(10, 31, 0)).missed);
    EXPECT_TRUE(DecideTick(s, before, At(10, 21, 0)).missed);
    EXPECT_TRUE(DecideTick(s, before, At(9, 0, 0, 2013, 6, 28)).missed);  // across midnight, before the hour
    TickDecision dayLater = DecideTick(s, before, At(10, 20, 0, 2013, 6, 28));  // the end minute, a day late
    EXPECT_TRUE(dayLater.missed);
    EXPECT_FALSE(dayLater.due);
    // Waking before the end, or in the end minute itself, changes nothing: the tick goes on as usual.
    EXPECT_FALSE(DecideTick(s, before, At(10, 19, 59)).missed);
    TickDecision inTheMinute = DecideTick(s, before, At(10, 20, 5));
    EXPECT_FALSE(inTheMinute.missed);
    EXPECT_TRUE(inTheMinute.due);
    // A clock put back, and the tick of the end minute itself (it asked for the action already).
    EXPECT_FALSE(DecideTick(s, before, At(9, 0, 0)).missed);
    EXPECT_FALSE(DecideTick(s, At(10, 20, 30), At(10, 40, 0)).missed);
    // A target no clock shows is never missed.
    EXPECT_FALSE(MissedWhileAway(At(10, 0, 0), At(12, 0, 0, 2014), HourMinute{10, 99}));
}

TEST(Postpone, MovesTheEndTenMinutesInBothModesAndStaysUnderADay) {
    ArmedSchedule countdown = Countdown(At(23, 45, 0), "00", "20", 10);
    EXPECT_EQ(DecideTick(countdown, At(23, 50, 0), At(23, 50, 0)).remainingText, "0小时25分钟后将自动关机！");
    EXPECT_EQ(TargetOf(countdown).hour, 0);
    EXPECT_EQ(TargetOf(countdown).minute, 15);
    ArmedSchedule clock;
    clock.hourText = "23";
    clock.minuteText = "55";
    clock.postponedMinutes = 10;
    EXPECT_EQ(TargetOf(clock).hour, 0);
    EXPECT_EQ(TargetOf(clock).minute, 5);
    EXPECT_TRUE(CanPostpone(HourMinute{23, 49}, 10));
    EXPECT_FALSE(CanPostpone(HourMinute{23, 50}, 10));  // would wrap to "0小时0分钟"
    EXPECT_FALSE(CanPostpone(HourMinute{0, 5}, 0));
}

TEST(FiveMinuteWarning, ComesOnceFiveMinutesBeforeTheEndWhenPending) {
    ArmedSchedule s = Countdown(At(10, 0, 30), "00", "06");  // ends 10:06:00
    s.fiveMinuteWarningPending = true;
    EXPECT_FALSE(DecideTick(s, At(10, 0, 59), At(10, 0, 59)).fiveMinuteWarn);
    EXPECT_TRUE(DecideTick(s, At(10, 0, 59), At(10, 1, 0)).fiveMinuteWarn);
    EXPECT_TRUE(DecideTick(s, At(10, 2, 0), At(10, 3, 0)).fiveMinuteWarn);  // a late tick still warns
    EXPECT_EQ(DecideTick(s, At(10, 1, 0), At(10, 1, 0)).secondsLeft, kFiveMinutes);
    s.fiveMinuteWarningPending = false;
    EXPECT_FALSE(DecideTick(s, At(10, 0, 59), At(10, 1, 0)).fiveMinuteWarn);
}

TEST(ActionTexts, NameTheChosenAction) {
    EXPECT_EQ(RemainingText(HourMinute{1, 29}), "1小时29分钟后将自动关机！");
    EXPECT_EQ(RemainingText(HourMinute{0, 5}, kRestart), "0小时5分钟后将自动重启！");
    EXPECT_EQ(ReminderTitle(kShutDown), "关机提醒！");
    EXPECT_EQ(ReminderTitle(kLock), "锁定提醒！");
    EXPECT_EQ(TwentySecondText(kShutDown), "还有二十秒，系统将自动关机！若想放弃请点取消！！！");
    EXPECT_EQ(FiveMinuteText(kHibernate), "还有五分钟，系统将自动休眠！");
    ArmedSchedule s = Countdown(At(10, 0, 0), "00", "20");
    s.action = kSleep;
    EXPECT_EQ(DecideTick(s, At(10, 0, 0), At(10, 0, 0)).remainingText, "0小时20分钟后将自动睡眠！");
}

TEST(PowerChoice, KeysAndSettingsDefaultToAForcedShutDown) {
    for (int action = kFirstPowerAction; action <= kLastPowerAction; ++action) {
        int parsed = 0;
        ASSERT_TRUE(ParseActionKey(ActionKey(action), &parsed));
        EXPECT_EQ(parsed, action);
    }
    int parsed = 0;
    EXPECT_TRUE(ParseActionKey("ReStart", &parsed));
    EXPECT_EQ(parsed, kRestart);
    EXPECT_FALSE(ParseActionKey("reboot", &parsed));
    PowerChoice none = InterpretPowerSettings("", "");
    EXPECT_EQ(none.action, kShutDown);
    EXPECT_TRUE(none.force);
    PowerChoice gentle = InterpretPowerSettings("hibernate", "0");
    EXPECT_EQ(gentle.action, kHibernate);
    EXPECT_FALSE(gentle.force);
    EXPECT_FALSE(EndsTheSession(kLock));
    EXPECT_TRUE(EndsTheSession(kLogOff));
}

TEST(Presets, HalfHourAheadCarriesIntoTheHourAndWrapsTheDay) {
    HourMinute a = HalfHourAhead(At(10, 15, 0));
    EXPECT_EQ(TwoDigits(a.hour) + ":" + TwoDigits(a.minute), "10:45");
    HourMinute b = HalfHourAhead(At(10, 45, 0));
    EXPECT_EQ(TwoDigits(b.hour) + ":" + TwoDigits(b.minute), "11:15");
    HourMinute c = HalfHourAhead(At(23, 30, 0));
    EXPECT_EQ(TwoDigits(c.hour) + ":" + TwoDigits(c.minute), "00:00");
}

TEST(ParseLocalTime, AcceptsOnlyAFullValidTime) {
    LocalTime t;
    ASSERT_TRUE(ParseLocalTime("2013-06-27 14:05:07", &t));
    EXPECT_EQ(ClockLine(t), "现在时间：2013年6月27日14时5分7秒");
    EXPECT_FALSE(ParseLocalTime("", &t));
    EXPECT_FALSE(ParseLocalTime(nullptr, &t));
    EXPECT_FALSE(ParseLocalTime("2013-06-27 24:00:00", &t));
    EXPECT_FALSE(ParseLocalTime("2013-06-27 14:05", &t));
    EXPECT_FALSE(ParseLocalTime("2013-06-27 14:05:07x", &t));
}

}  // namespace
