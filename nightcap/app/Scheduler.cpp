#include "nightcap/app/Scheduler.h"

#include "nightcap/app/Clock.h"
#include "nightcap/app/ControlText.h"
#include "nightcap/app/MainWindow.h"
#include "nightcap/app/PowerOff.h"
#include "nightcap/app/SkinHooks.h"
#include "nightcap/app/TrayIcon.h"
#include "nightcap/app/WaitPumping.h"

namespace nightcap {

namespace {

constexpr unsigned kArmBalloonDelay = 800;

void HideEditBoxes(NightcapApp& app) {
    for (HWND edit : {app.main.编辑框_分, app.main.编辑框_时}) {
        if (!ShowWindow(edit, SW_HIDE)) continue;  // was hidden already
        RepaintUnder(edit);                         // the frames are see-through: repaint the picture beneath
    }
}

void PresetLabels(NightcapApp& app, const std::string& hour, const std::string& minute) {
    SetControlText(app.main.标签_时, hour);
    SetControlText(app.main.标签_分, minute);
}

// While armed the schedule's mode, hour and minute cannot change.
void EnableInputs(NightcapApp& app, bool enable) {
    const MainControls& c = app.main;
    for (HWND control : {c.透明标签_切换1, c.透明标签_切换2, c.编辑框_时, c.编辑框_分, c.标签_时, c.标签_分})
        EnableWindow(control, enable);
    if (app.slider.UI动画框) EnableWindow(app.slider.UI动画框, enable);
}

// While armed the computer does not sleep on its own idle timer; the display may still turn off.
void KeepSystemAwake(bool awake) {
    SetThreadExecutionState(awake ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
}

ArmedSchedule ArmedNow(const NightcapApp& app) {
    const SchedulerState& s = app.schedule;
    ArmedSchedule armed;
    armed.mode = s.mode;
    armed.start = s.startTime;
    armed.hourText = ControlText(app.main.标签_时);
    armed.minuteText = ControlText(app.main.标签_分);
    armed.postponedMinutes = s.postponedMinutes;
    armed.action = s.power.action;
    armed.fiveMinuteWarningPending = s.fiveMinuteWarningPending;
    return armed;
}

void ShowScheduleBalloon(NightcapApp& app, const std::string& text, bool twentySecondWarning = false) {
    app.schedule.twentySecondWarningShown = twentySecondWarning;
    ShowBalloon(ReminderTitle(app.schedule.power.action).c_str(), text.c_str(), kBalloonWarning);
}

void ShowTimeLeft(NightcapApp& app) {
    SetControlText(app.main.透明标签_时间, kRemainingPrefix + app.schedule.remainingText);
}

void ShowClockLine(NightcapApp& app) { SetControlText(app.main.透明标签_时间, ClockLine(app.schedule.currentTime)); }

void Arm(NightcapApp& app) {
    SchedulerState& s = app.schedule;
    ShowArmedImages(app);
    s.startTime = Now();
    s.currentTime = s.startTime;
    s.postponedMinutes = 0;
    s.fiveMinuteWarningPending = DecideTick(ArmedNow(app), s.startTime, s.startTime).secondsLeft > kFiveMinutes;
    EnableInputs(app, false);
    s.running = true;
    KeepSystemAwake(true);
    HideBothWindows(app);
    WaitPumping(kArmBalloonDelay);  // the first tick builds the remaining-time text meanwhile
    if (s.running) ShowScheduleBalloon(app, kRemainingPrefix + s.remainingText);
}

void Cancel(NightcapApp& app) {
    ShowIdleImages(app);
    EnableInputs(app, true);
    app.schedule.running = false;
    app.schedule.twentySecondWarningShown = false;
    KeepSystemAwake(false);
}

// The target minute passed while the computer slept: the schedule does not wait for the next day, the user
// decides again.
void ReturnToIdleAfterMissedTarget(NightcapApp& app) {
    Cancel(app);
    ShowClockLine(app);
    ShowScheduleBalloon(app, MissedText(app.schedule.power.action));
}

void CarryOutDueAction(NightcapApp& app) {
    CarryOut(app.schedule.power);
    // Shut-down, restart and log-off end the program; the request repeats on every tick of the target minute
    // until they do. After a sleep, hibernation or lock the session goes on and the schedule is over.
    if (!EndsTheSession(app.schedule.power.action)) Cancel(app);
}

}  // namespace

void ShowScheduleMode(NightcapApp& app, ScheduleMode mode) {
    ShowTabStripImage(app, mode);
    bool clockTime = mode == ScheduleMode::ClockTime;
    app.clockTabColour = clockTime ? kHighlightedTab : kPlainTab;
    app.countdownTabColour = clockTime ? kPlainTab : kHighlightedTab;
    RepaintUnder(app.main.透明标签_切换1);
    RepaintUnder(app.main.透明标签_切换2);
    app.schedule.mode = mode;
}

void ChooseClockTimeTab(NightcapApp& app) {
    ShowScheduleMode(app, ScheduleMode::ClockTime);
    HideEditBoxes(app);
    if (app.schedule.defaultsInUse) {
        HourMinute ahead = HalfHourAhead(Now());
        PresetLabels(app, TwoDigits(ahead.hour), TwoDigits(ahead.minute));
    }
}

void ChooseCountdownTab(NightcapApp& app) {
    ShowScheduleMode(app, ScheduleMode::Countdown);
    HideEditBoxes(app);
    if (app.schedule.defaultsInUse) PresetLabels(app, "01", "00");
}

void OnExecuteClicked(NightcapApp& app) {
    if (app.schedule.running)
        Cancel(app);
    else
        Arm(app);
}

void OnClockTick(NightcapApp& app) {
    SchedulerState& s = app.schedule;
    LocalTime previous = s.currentTime;
    s.currentTime = Now();
    if (!s.running) {
        ShowClockLine(app);
        return;
    }
    TickDecision tick = DecideTick(ArmedNow(app), previous, s.currentTime);
    if (tick.missed) {
        ReturnToIdleAfterMissedTarget(app);
        return;
    }
    s.remainingText = tick.remainingText;
    if (tick.due) {
        CarryOutDueAction(app);
        if (!s.running) {
            ShowClockLine(app);
            return;
        }
    }
    ShowTimeLeft(app);
    if (tick.fiveMinuteWarn) {
        s.fiveMinuteWarningPending = false;
        ShowScheduleBalloon(app, FiveMinuteText(s.power.action));
    }
    // Once: second 40 lasts two ticks, and a balloon asked for again is shown anew.
    if (tick.warn && !s.twentySecondWarningShown) ShowScheduleBalloon(app, TwentySecondText(s.power.action), true);
}

void ArmWith(NightcapApp& app, ScheduleMode mode, HourMinute time) {
    if (app.schedule.running) Cancel(app);
    ShowScheduleMode(app, mode);
    HideEditBoxes(app);
    PresetLabels(app, TwoDigits(time.hour), TwoDigits(time.minute));
    MoveSliderToHourLabel(app);
    Arm(app);
}

void Disarm(NightcapApp& app) {
    if (app.schedule.running) Cancel(app);
}

bool Postpone(NightcapApp& app, int minutes) {
    SchedulerState& s = app.schedule;
    if (!s.running) return false;
    if (!CanPostpone(DecideTick(ArmedNow(app), s.currentTime, s.currentTime).remaining, minutes)) return false;
    s.postponedMinutes = (s.postponedMinutes + minutes) % kMinutesPerDay;
    OnClockTick(app);  // the status line shows the new time left
    if (s.running) ShowScheduleBalloon(app, kRemainingPrefix + s.remainingText);
    return true;
}

void OnBalloonClicked(NightcapApp& app) {
    if (app.schedule.running && app.schedule.twentySecondWarningShown) Postpone(app, kPostponeMinutes);
}

void OnPowerBroadcast(NightcapApp& app, WPARAM event) {
    if (event == PBT_APMSUSPEND || event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND)
        OnClockTick(app);
}

}  // namespace nightcap
