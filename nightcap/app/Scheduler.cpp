#include "Scheduler.h"

#include "Clock.h"
#include "ControlText.h"
#include "MainWindow.h"
#include "PowerOff.h"
#include "SkinHooks.h"
#include "TrayIcon.h"
#include "WaitPumping.h"

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

void Arm(NightcapApp& app) {
    ShowArmedImages(app);
    app.schedule.startTime = Now();
    EnableInputs(app, false);
    app.schedule.running = true;
    HideBothWindows(app);
    WaitPumping(kArmBalloonDelay);  // the first tick builds the remaining-time text meanwhile
    ShowBalloon(kReminderTitle, (kRemainingPrefix + app.schedule.remainingText).c_str(), kBalloonWarning);
}

void Cancel(NightcapApp& app) {
    ShowIdleImages(app);
    EnableInputs(app, true);
    app.schedule.running = false;
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
    s.currentTime = Now();
    if (!s.running) {
        SetControlText(app.main.透明标签_时间, ClockLine(s.currentTime));
        return;
    }
    TickDecision tick = DecideTick(s.mode, s.startTime, s.currentTime, ControlText(app.main.标签_时),
                                   ControlText(app.main.标签_分));
    if (tick.due) PowerOff(kShutDown, true);
    s.remainingText = tick.remainingText;
    SetControlText(app.main.透明标签_时间, kRemainingPrefix + s.remainingText);
    if (tick.warn) ShowBalloon(kReminderTitle, kTwentySecondText, kBalloonWarning);
}
