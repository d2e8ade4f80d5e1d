// Nightcap's skin on the main and slider windows: the five picture boxes and three buttons bound to the
// form's controls with their images, the tab strip's two states, the execute button's two image sets,
// the slider in the slider window and the hour and minute fields.
#pragma once
#include <windows.h>

#include <vector>

#include "nightcap/app/Slider.h"
#include "nightcap/app/SliderAnimationFrame.h"
#include "nightcap/app/TimeEntry.h"
#include "nightcap/controls/ImageButton.h"
#include "nightcap/controls/ImagePictureBox.h"

namespace nightcap {

// The main window's controls, as the form made them.
struct MainWindowControls {
    HWND tabStrip = nullptr;     // 图片框_切换
    HWND timePanel = nullptr;    // 图片框_时间
    HWND hourFrame = nullptr;    // 图片框_时
    HWND minuteFrame = nullptr;  // 图片框_分
    HWND weatherBox = nullptr;   // 图片框_天气
    HWND hourLabel = nullptr, hourEdit = nullptr;      // 标签_时, 编辑框_时
    HWND minuteLabel = nullptr, minuteEdit = nullptr;  // 标签_分, 编辑框_分
    HWND executeButton = nullptr;   // 按钮_执行
    HWND closeButton = nullptr;     // 按钮_关闭
    HWND minimiseButton = nullptr;  // 按钮_最小
};

class NightcapSkin {
public:
    // Loads the images from the program's resources and binds the controls. The module start-up
    // (StartControlsModule) must have run. Returns false when a control is missing.
    bool Bind(const MainWindowControls& controls);
    // Fills the slider window: the drawing surface over all of it and the slider on it.
    void BuildSlider(HWND sliderWindow);

    void ShowCountdownTab(bool countdown);  // the tab strip's two states
    void ShowArmedButton(bool armed);       // the execute button's two image sets

    TimeEntry& Entry() { return *entry_; }
    Slider& SliderControl() { return slider_; }
    AnimationFrame& SliderFrame() { return frame_; }
    ImagePictureBox& WeatherBox() { return weatherBox_; }

private:
    ImagePictureBox tabStrip_, timePanel_, hourFrame_, minuteFrame_, weatherBox_;
    ImageButton execute_, close_, minimise_;
    GpImage* tabClock_ = nullptr;
    GpImage* tabCountdown_ = nullptr;
    std::vector<GpImage*> executeIdle_, executeArmed_;
    SliderImages sliderImages_;
    AnimationFrame frame_;
    Slider slider_;
    TimeEntry* entry_ = nullptr;  // lives as long as the program
};

}  // namespace nightcap
