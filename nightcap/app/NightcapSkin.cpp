#include "nightcap/app/NightcapSkin.h"

#include "assets/nightcap/SkinResources.h"
#include "nightcap/controls/ControlPaint.h"
#include "nightcap/controls/ImageGeometry.h"

namespace nightcap {

namespace {

GpImage* Resource(int id) { return LoadImageFromBytes(ResourceBytes(id)); }

}  // namespace

bool NightcapSkin::Bind(const MainWindowControls& c) {
    tabClock_ = Resource(IDR_SKIN_TAB_CLOCK);
    tabCountdown_ = Resource(IDR_SKIN_TAB_COUNTDOWN);
    // Outer boxes first: a window that is already an image control is not subclassed as a parent.
    bool ok = timePanel_.Attach(c.timePanel, Resource(IDR_SKIN_TIME_PANEL)) && tabStrip_.Attach(c.tabStrip, tabClock_);
    GpImage* selected = Resource(IDR_SKIN_FRAME_SELECTED);
    GpImage* plain = Resource(IDR_SKIN_FRAME_PLAIN);
    ok = hourFrame_.Attach(c.hourFrame, selected) && ok;
    ok = minuteFrame_.Attach(c.minuteFrame, plain) && ok;
    ok = weatherBox_.Attach(c.weatherBox) && ok;
    weatherBox_.SetBackType(kBackFitted);

    executeIdle_ = CutStateStrip(ResourceBytes(IDR_SKIN_EXECUTE_IDLE), 3, false, 0);
    executeArmed_ = CutStateStrip(ResourceBytes(IDR_SKIN_EXECUTE_ARMED), 3, false, 0);
    ok = execute_.Attach(c.executeButton) && ok;
    ShowArmedButton(false);
    ok = close_.Attach(c.closeButton) && ok;
    close_.LoadStateStrip(ResourceBytes(IDR_SKIN_CLOSE));
    ok = minimise_.Attach(c.minimiseButton) && ok;
    minimise_.LoadStateStrip(ResourceBytes(IDR_SKIN_MINIMISE));

    entry_ = new TimeEntry({c.hourLabel, c.hourEdit, &hourFrame_}, {c.minuteLabel, c.minuteEdit, &minuteFrame_},
                           {selected, plain}, &slider_);
    entry_->WireEvents();
    return ok;
}

void NightcapSkin::BuildSlider(HWND sliderWindow) {
    RECT client = {};
    GetClientRect(sliderWindow, &client);
    frame_.Create(sliderWindow, 0, 0, client.right, client.bottom);
    sliderImages_.track = Resource(IDR_SKIN_TRACK);
    sliderImages_.knob = Resource(IDR_SKIN_KNOB);
    sliderImages_.knobPressed = Resource(IDR_SKIN_KNOB_PRESSED);
    sliderImages_.fillStart = Resource(IDR_SKIN_FILL_START);
    sliderImages_.fillBar = Resource(IDR_SKIN_FILL_BAR);
    slider_.Build(&frame_, sliderImages_, [this](int percent) {
        if (entry_) entry_->ShowDraggedPercent(percent);
    });
}

void NightcapSkin::ShowCountdownTab(bool countdown) { tabStrip_.SetBackImage(countdown ? tabCountdown_ : tabClock_); }

void NightcapSkin::ShowArmedButton(bool armed) {
    std::vector<GpImage*> set = armed ? executeArmed_ : executeIdle_;
    set.resize(4, nullptr);
    execute_.SetStateImages(set[0], set[1], set[2], set[3]);
    RefreshUnder(execute_.Handle());
}

}  // namespace nightcap
