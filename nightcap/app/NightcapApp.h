// The program-wide state of Nightcap: the handles of both windows' controls and the scheduler's state.
// One object lives from process start to its end; every handler of the main window works on it.
#pragma once
#include <windows.h>

#include <string>

#include "common/Handles.h"
#include "nightcap/app/ScheduleRules.h"
#include "nightcap/app/SettingsFile.h"
#include "nightcap/app/SingleInstance.h"

namespace nightcap {

// The main window and its controls (the positions are in MainWindow.cpp).
struct MainControls {
    HWND window = nullptr;
    HWND 按钮_关闭 = nullptr;
    HWND 按钮_最小 = nullptr;
    HWND 透明标签_城市 = nullptr;
    HWND 图片框_天气 = nullptr;
    HWND 透明标签_天气 = nullptr;
    HWND 透明标签_天气1 = nullptr;
    HWND 透明标签_天气2 = nullptr;
    HWND 图片框_切换 = nullptr;
    HWND 透明标签_切换1 = nullptr;
    HWND 透明标签_切换2 = nullptr;
    HWND 图片框_时间 = nullptr;
    HWND 图片框_时 = nullptr;
    HWND 标签_时 = nullptr;
    HWND 编辑框_时 = nullptr;
    HWND 图片框_分 = nullptr;
    HWND 标签_分 = nullptr;
    HWND 编辑框_分 = nullptr;
    HWND 按钮_执行 = nullptr;
    HWND 透明标签_时间 = nullptr;
    HWND 透明标签_版本号 = nullptr;
    UniqueMenu 托盘菜单;  // pop-up menu of the tray icon
};

// The slider window: a layered window owned by the main window, holding the slider's drawing frame.
struct SliderControls {
    HWND window = nullptr;
    HWND UI动画框 = nullptr;
};

struct SchedulerState {
    ScheduleMode mode = ScheduleMode::ClockTime;
    bool running = false;
    bool defaultsInUse = false;  // set when config.ini lacked the hour or minute; stays set
    LocalTime startTime;         // when the schedule was armed (countdown)
    LocalTime currentTime;       // read by the latest tick
    std::string remainingText;   // built by the latest tick of a running schedule
    int postponedMinutes = 0;    // the end moved by the user since arming
    bool fiveMinuteWarningPending = false;
    bool twentySecondWarningShown = false;  // the latest balloon is that warning: a click on it postpones
    PowerChoice power;           // what happens at the end
};

// What the weather panel's lookups found at start-up.
struct WeatherFindings {
    std::string city;
    std::string cityCode;
    std::string weather;
    std::string temperatureRange;
    int airQualityIndex = 0;
};

// The online lookups. Their requests run on threads of their own (BackgroundWork.h); what they find is
// kept here by the user-interface thread once their answers come.
struct OnlineState {
    std::string serverReply;           // of the latest version check
    bool versionCheckRunning = false;  // a check's request is out; no second one starts meanwhile
    bool notifyWhenCurrent = false;    // the running check shows "已经是最新版本！" when up to date
    WeatherFindings found;
};

// Text colours of the labels.
constexpr COLORREF kHighlightedTab = RGB(255, 174, 1);
constexpr COLORREF kPlainTab = RGB(115, 181, 230);
constexpr COLORREF kCityText = RGB(255, 174, 1);
constexpr COLORREF kWeatherText = RGB(255, 255, 255);
constexpr COLORREF kStatusText = RGB(43, 162, 222);

struct NightcapApp {
    HINSTANCE instance = nullptr;
    MainControls main;
    SliderControls slider;
    SchedulerState schedule;
    OnlineState online;
    COLORREF clockTabColour = kHighlightedTab;     // 透明标签_切换1
    COLORREF countdownTabColour = kPlainTab;       // 透明标签_切换2
    COLORREF airQualityColour = kWeatherText;      // 透明标签_天气2, the band's colour once filled
    SettingsFile settings{SettingsPath(ProgramFolder())};
    SingleInstanceGuard instanceGuard;
    UINT taskbarCreatedMessage = 0;
    WNDPROC previousWindowProc = nullptr;  // the main window's own procedure, under the tray procedure
    UniqueBitmap background;
    UniqueFont labelFont;  // 12-pixel 宋体 of the transparent labels
    UniqueFont fieldFont;  // 35-pixel font of the hour and minute
};

}  // namespace nightcap
