#include "nightcap/app/SkinHooks.h"

#include "nightcap/app/ControlIds.h"
#include "nightcap/app/ControlText.h"
#include "nightcap/app/NightcapSkin.h"
#include "nightcap/app/TimeEntryRules.h"
#include "nightcap/controls/ControlsModule.h"

namespace nightcap {

namespace {

// The skin of the one main window; lives as long as the program.
NightcapSkin& Skin() {
    static NightcapSkin* skin = new NightcapSkin;
    return *skin;
}
bool g_bound = false;

}  // namespace

void StartImageControls() { StartControlsModule(); }

void BindImageControls(NightcapApp& app) {
    const MainControls& m = app.main;
    MainWindowControls c;
    c.tabStrip = m.图片框_切换;
    c.timePanel = m.图片框_时间;
    c.hourFrame = m.图片框_时;
    c.minuteFrame = m.图片框_分;
    c.weatherBox = m.图片框_天气;
    c.hourLabel = m.标签_时;
    c.hourEdit = m.编辑框_时;
    c.minuteLabel = m.标签_分;
    c.minuteEdit = m.编辑框_分;
    c.executeButton = m.按钮_执行;
    c.closeButton = m.按钮_关闭;
    c.minimiseButton = m.按钮_最小;
    Skin().Bind(c);
    g_bound = true;
}

void ShowWeatherPicture(NightcapApp&, const std::string& pngBytes) {
    if (g_bound && !pngBytes.empty()) Skin().WeatherBox().LoadBackImage(pngBytes);
}

// Before the binding the hour frame is already the one drawn selected.
void SelectHourField(NightcapApp&) {
    if (g_bound) Skin().Entry().Select(TimeField::Hour);
}

void MoveSliderToHourLabel(NightcapApp& app) {
    Skin().SliderControl().MoveSliderTo(PercentForLabel(TimeField::Hour, ControlText(app.main.标签_时)));
}

void BuildSlider(NightcapApp& app) {
    Skin().BuildSlider(app.slider.window);
    app.slider.UI动画框 = Skin().SliderFrame().Window();
    SetWindowLongPtrA(app.slider.UI动画框, GWLP_ID, UI动画框);
}

void ShowTabStripImage(NightcapApp&, ScheduleMode mode) { Skin().ShowCountdownTab(mode == ScheduleMode::Countdown); }

void ShowArmedImages(NightcapApp&) {
    if (!g_bound) return;
    Skin().Entry().ShowFramesPlain();
    Skin().ShowArmedButton(true);
}

void ShowIdleImages(NightcapApp&) {
    if (!g_bound) return;
    Skin().ShowArmedButton(false);
    Skin().Entry().ShowSelectedFrame();
}

// The labels and edit boxes report to the time entry directly; a click on the tab strip or the time panel
// closes any open edit box.
bool HandleTimeEntryCommand(NightcapApp&, int id, int code) {
    switch (id) {
    case 图片框_切换:
    case 图片框_时间:
        if (code == STN_CLICKED && g_bound) Skin().Entry().HideEditBoxes();
        return true;
    case 标签_时:
    case 标签_分:
    case 编辑框_时:
    case 编辑框_分:
        return true;
    }
    return false;
}

}  // namespace nightcap
